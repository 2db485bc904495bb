#include "recorder/Records.h"

#include <cstring>

void CopyTextField(char* dst, size_t size, const char* src)
{
    if (!dst || size == 0)
        return;
    size_t n = src ? std::strlen(src) : 0;
    if (n >= size) {
        n = size - 1;
        // Step back over continuation bytes (10xxxxxx) to the start of the
        // character that would be split, and leave it out.
        auto cont = [&](size_t i) { return (static_cast<unsigned char>(src[i]) & 0xC0) == 0x80; };
        if (cont(n)) {
            while (n > 0 && cont(n))
                --n;
        }
    }
    if (n)
        std::memcpy(dst, src, n);
    dst[n] = '\0';
}

void STIPCfgKst::Assign(const STIPCfgKst& o)
{
    CAMERAID = o.CAMERAID;
    std::memcpy(IP, o.IP, sizeof IP);
    TYPE = o.TYPE;
    PORT = o.PORT;
    RTSP = o.RTSP;
    CHANNEL = o.CHANNEL;
    STREAM = o.STREAM;
    std::memcpy(PIN, o.PIN, sizeof PIN);
    std::memcpy(NAME, o.NAME, sizeof NAME);
    std::memcpy(UID, o.UID, sizeof UID);
    std::memcpy(PWD, o.PWD, sizeof PWD);
    m_pCamera = o.m_pCamera;
    m_bStop = o.m_bStop.load();
    m_bRecording = o.m_bRecording.load();
    m_bMotion = o.m_bMotion.load();
    m_bScheduleChanged = o.m_bScheduleChanged.load();
    m_hFinishEvent = o.m_hFinishEvent;
    m_stCameraInfo = o.m_stCameraInfo;
    m_pOwner = o.m_pOwner;
    m_bVideoFailed = o.m_bVideoFailed.load();
    m_hMutex = o.m_hMutex;
    m_dwSegmentStart = o.m_dwSegmentStart.load();
}

void STIPCfgKst::Clear()
{
    Assign(STIPCfgKst());
}
