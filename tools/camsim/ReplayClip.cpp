#include "tools/camsim/ReplayClip.h"

#include <gst/gst.h>

#include <cmath>

namespace camsim {

namespace {

// G.711 A-law of one 16-bit sample.
unsigned char alaw(int16_t pcm)
{
    int sign = pcm < 0 ? 0x00 : 0x80;
    int v = pcm < 0 ? std::min(32767, -pcm - 1) : pcm;
    v >>= 3;  // 13-bit magnitude
    int exponent = 0;
    for (int m = v >> 5; m && exponent < 7; m >>= 1)
        ++exponent;
    int mantissa = exponent ? (v >> exponent) & 0x0F : (v >> 1) & 0x0F;
    return static_cast<unsigned char>((sign | (exponent << 4) | mantissa) ^ 0x55);
}

}  // namespace

ReplayClip ReplayClip::alawTone()
{
    ReplayClip clip;
    clip.fps = 50;
    const double pi = std::acos(-1.0);
    for (int block = 0; block < 50; ++block) {
        Frame f;
        f.key = true;
        for (int i = 0; i < 160; ++i) {
            int n = block * 160 + i;
            f.data += static_cast<char>(alaw(static_cast<int16_t>(9000 * std::sin(2 * pi * 440 * n / 8000.0))));
        }
        clip.frames.push_back(std::move(f));
    }
    return clip;
}

bool ReplayClip::encode(const Options& o, bool sub, ReplayClip& out, std::string& error)
{
    int w = sub ? std::max(16, o.width / 2 / 2 * 2) : o.width;
    int h = sub ? std::max(16, o.height / 2 / 2 * 2) : o.height;
    int kbps = sub ? std::max(16, o.bitrateKbps / 4) : o.bitrateKbps;
    // At least two seconds, so the picture does not visibly jump every frame.
    int gops = std::max(1, (2 * o.fps + o.keyInterval - 1) / o.keyInterval);
    int frames = gops * o.keyInterval;
    std::string line = "videotestsrc num-buffers=" + std::to_string(frames)
                       + " pattern=smpte horizontal-speed=2 ! video/x-raw,format=I420,width=" + std::to_string(w)
                       + ",height=" + std::to_string(h) + ",framerate=" + std::to_string(o.fps)
                       + "/1 ! x264enc tune=zerolatency speed-preset=ultrafast bframes=0 threads=1 bitrate="
                       + std::to_string(kbps) + " key-int-max=" + std::to_string(o.keyInterval)
                       + " ! video/x-h264,stream-format=byte-stream,alignment=au,profile=constrained-baseline"
                         " ! fakesink name=out signal-handoffs=true sync=false";
    GError* err = nullptr;
    GstElement* pipeline = gst_parse_launch(line.c_str(), &err);
    if (!pipeline) {
        error = std::string("replay encoder: ") + (err ? err->message : "failed");
        g_clear_error(&err);
        return false;
    }
    out.frames.clear();
    out.fps = o.fps;
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    g_signal_connect(sink, "handoff", G_CALLBACK(+[](GstElement*, GstBuffer* buf, GstPad*, gpointer clip) {
                         GstMapInfo map;
                         if (gst_buffer_map(buf, &map, GST_MAP_READ)) {
                             Frame f;
                             f.data.assign(reinterpret_cast<const char*>(map.data), map.size);
                             f.key = !GST_BUFFER_FLAG_IS_SET(buf, GST_BUFFER_FLAG_DELTA_UNIT);
                             static_cast<ReplayClip*>(clip)->frames.push_back(std::move(f));
                             gst_buffer_unmap(buf, &map);
                         }
                     }),
                     &out);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* msg = gst_bus_timed_pop_filtered(bus, 120 * GST_SECOND,
                                                 static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    bool ok = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
    if (msg)
        gst_message_unref(msg);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    if (!ok || out.frames.empty() || !out.frames.front().key) {
        error = "replay encoder: no clip";
        return false;
    }
    return true;
}

}  // namespace camsim
