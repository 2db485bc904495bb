#pragma once
// One player instance: takes a camera's tracks and packets, keeps the
// pre-record ring, writes recordings, decodes for a window or a snapshot, and
// plays files.
//
// Threads: every public call may come from any thread. Packets arrive on the
// transport's reader thread and are recorded on it (the file of a start made
// without openNow is made there too); pictures are decoded on
// the instance's decode thread, which exists only for a viewer that plays or
// for a pending snapshot; files play on the FilePlayer's thread.
// Lock order: m_fileMutex before m_viewMutex and m_decMutex; m_showMutex
// before m_viewMutex; m_writeMutex before m_recMutex; m_trackMutex is never
// held together with another. m_writeMutex is held across the recording's
// file work (making the file, writing, handing the file over to its close),
// m_recMutex only for moments, so a call that starts a recording or asks
// about it never waits for the disk. No callback is made while any of them
// is held.

#include "outside/vxplay/CallbackGate.h"
#include "outside/vxplay/FilePlayer.h"
#include "outside/vxplay/Mp4Recorder.h"
#include "outside/vxplay/PacketRing.h"
#include "outside/vxplay/Picture.h"
#include "outside/vxplay/SoundSink.h"
#include "outside/vxplay/Track.h"
#include "outside/vxplay/VideoDecoder.h"
#include "outside/vxplay/vxplay.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vxplay {

class Player final : private FileHost {
public:
    Player(bool display, int prerecordMs);
    ~Player();

    // Ends everything: threads joined, recording closed, pending snapshots
    // failed. No callback after it returns.
    void shutdown();
    // True on one of the instance's own threads (inside one of its callbacks).
    bool onOwnThread();
    // From inside one of its own callbacks: no callback from here on, and the
    // rest of shutdown() runs on a thread of its own once this one is free.
    static void shutdownFromCallback(std::shared_ptr<Player> self);

    int setWindow(void* hwnd);
    int playStart();
    int playStop();
    int setAudioEnabled(bool on);
    void setDecodeCallback(vxplay_decode_func func, void* user);
    void setEventCallback(vxplay_event_func func, void* user);

    int initTrack(const vxstream_track& desc);
    int input(int streamIndex, int mediaType, const uint8_t* data, int size, int64_t pts, int64_t dts, int flags);

    int fileSet(const std::string& path);
    int fileOpen();
    int fileClose();
    int filePause();
    int fileResume();
    int64_t fileLength();
    int64_t filePosition();
    int fileSeek(int64_t us);
    // Takes no lock: it must reach an open that holds m_fileMutex.
    int fileInterrupt(bool on);

    // Hands the start over: the reader thread takes the pre-record packets
    // out of the ring and writes them before its next packet. openNow: the
    // file is made here, under the write lock (its failure is the answer);
    // otherwise the reader thread makes it before its next packet (or the
    // stop does, when none came), and a file that cannot be made ends the
    // recording through func.
    int recordStart(const std::string& path, int flag, vxplay_result_func func, void* user, bool openNow);
    int recordStatus() const { return m_recOn.load() ? 1 : 0; }
    int recordStop();
    void recordCounts(int64_t* received, int64_t* recorded) const;

    int setAspect(float aspect);
    int setTransform(int transform);
    int setOsd(int slot, const char* text);
    int displayLast();
    int snapshot(const std::string& path, vxplay_result_func func, void* user);

private:
    struct PendingSnapshot {
        std::string path;
        vxplay_result_func func = nullptr;
        void* user = nullptr;
    };
    struct View {
        void* hwnd = nullptr;
        float aspect = 0.0f;
        int transform = 0;
        std::string osd;
    };

    // FileHost
    void filePicture(AVFrame* frame) override { showPicture(frame); }
    void fileEvent(int code, int64_t value) override { raiseEvent(code, value); }
    bool fileSound() const override { return m_sound; }
    bool fileInterrupted() const override { return m_fileInterrupt; }

    void showPicture(AVFrame* frame);
    void present(const AVFrame* frame, const View& view);
    void dropWindowPicture();
    void raiseEvent(int code, int64_t value);
    void reportResult(vxplay_result_func func, void* user, int result, const std::string& path);
    void failSnapshots(int result);
    std::shared_ptr<const std::vector<TrackPtr>> tracks();

    // A recording as a start hands it over: its file (null until made), the
    // pre-record packets it still has to write, and whom to tell its end.
    struct RecordJob {
        std::unique_ptr<Mp4Recorder> rec;
        std::string path;
        std::vector<StreamPacketPtr> pending;
        vxplay_result_func func = nullptr;
        void* user = nullptr;
        // What of the ring the start asked for, until the thread that takes
        // the start copies it into pending: the whole pre-record, the latest
        // group of pictures, or on from the end of the segment closed last.
        bool withHistory = false;
        bool fromMark = false;
        uint64_t mark = 0;
    };
    // The start not taken yet, if any, with what it asked for copied out of
    // the ring into its pending packets (under m_recMutex, before the ring
    // takes a newer packet).
    std::optional<RecordJob> takeStart();
    // Makes the job's file unless it has one; VXPLAY_OK or why not.
    static int openJob(RecordJob& job, bool withAudio);
    // Writes the pre-record packets a start left (no lock of its own).
    int writePending(Mp4Recorder& rec, const std::vector<StreamPacketPtr>& pending);
    // Makes the file if need be, writes what is pending, closes it and tells
    // the job's end (no lock held).
    int finishJob(RecordJob& job);

    void ensureDecodeThread();
    void stopDecodeThread();
    void enqueueDecode(StreamPacketPtr p);
    void decodeLoop();

    const bool m_display;
    const int64_t m_prerecordUs;
    std::atomic<bool> m_closing{false};
    std::atomic<bool> m_playing{false};
    std::atomic<bool> m_sound{false};
    std::atomic<bool> m_fileInterrupt{false};
    CallbackGate m_gate;

    std::mutex m_cbMutex;  // guards the two callbacks
    vxplay_decode_func m_decodeFunc = nullptr;
    void* m_decodeUser = nullptr;
    vxplay_event_func m_eventFunc = nullptr;
    void* m_eventUser = nullptr;

    std::mutex m_trackMutex;  // guards m_tracks (replaced, never changed in place)
    std::shared_ptr<const std::vector<TrackPtr>> m_tracks;

    std::mutex m_recMutex;  // guards the ring, the start handed over and the times below
    PacketRing m_ring;
    // A start the reader thread (or the stop) has not taken yet. The
    // pre-record packets are taken out of the ring and written by the next
    // packet's thread, so a start costs its caller no more than handing it
    // over (no copy, not even of the packets' pointers, on that thread).
    std::optional<RecordJob> m_start;
    // Where the next recording begins when it continues the one closed last
    // (its last group of pictures): the pre-record is for a recording that
    // begins, not for the next segment of one that goes on.
    bool m_haveContinueMark = false;
    uint64_t m_continueMark = 0;
    std::vector<int64_t> m_lastTimeUs;  // per track, for packets without a time
    // From a start until its stop or until its file fails; changed under
    // m_recMutex, read without it.
    std::atomic<bool> m_recOn{false};

    std::mutex m_writeMutex;  // guards the open recording below
    std::unique_ptr<Mp4Recorder> m_recorder;
    vxplay_result_func m_recFunc = nullptr;
    void* m_recUser = nullptr;
    std::atomic<int64_t> m_receivedWhileRecording{0};
    std::atomic<int64_t> m_recordedWhileRecording{0};

    std::mutex m_decMutex;  // guards the decode queue and thread
    std::condition_variable m_decChanged;
    std::deque<StreamPacketPtr> m_decQueue;
    bool m_decStop = false;
    std::thread m_decThread;
    std::atomic<bool> m_snapshotPending{false};

    std::mutex m_showMutex;  // serialises showing pictures (the converter is not shared)
    PictureConverter m_converter;
    Bgra m_bgra;

    std::mutex m_viewMutex;  // guards m_view, m_last, m_firstShown, m_snapshots
    View m_view;
    vxwrap::FramePtr m_last;
    bool m_firstShown = false;
    std::vector<PendingSnapshot> m_snapshots;

    std::mutex m_fileMutex;  // guards the file player
    std::string m_filePath;
    std::unique_ptr<FilePlayer> m_file;
};

}  // namespace vxplay
