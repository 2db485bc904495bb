#include "tools/camsim/SdMedia.h"

#include <gst/gst.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace camsim {

namespace {

namespace fs = std::filesystem;

constexpr int kShortSeconds = 6;
constexpr int kShortFps = 10;
constexpr int kLongSeconds = 36 * 60 + 40;

// rate: "bitrate=KBPS" or, where pictures hardly change, a fixed quantizer.
std::string x264(const std::string& rate, int keyInterval)
{
    return "x264enc tune=zerolatency speed-preset=ultrafast bframes=0 threads=1 " + rate
           + " key-int-max=" + std::to_string(keyInterval)
           + " ! video/x-h264,stream-format=byte-stream,alignment=au,profile=constrained-baseline";
}

// LOCATION stands for the output file.
std::string shortPipeline()
{
    // 100 ms of sound per buffer, so both tracks end on the same second.
    return "videotestsrc num-buffers=" + std::to_string(kShortSeconds * kShortFps)
           + " pattern=smpte horizontal-speed=3 ! video/x-raw,format=I420,width=320,height=240,framerate="
           + std::to_string(kShortFps) + "/1 ! " + x264("bitrate=256", kShortFps)
           + " ! mux. audiotestsrc num-buffers=" + std::to_string(kShortSeconds * 10)
           + " samplesperbuffer=800 freq=440 ! audio/x-raw,format=S16LE,rate=8000,channels=1 ! alawenc ! mux. "
             "avimux name=mux ! filesink location=LOCATION";
}

std::string longPipeline()
{
    return "videotestsrc num-buffers=" + std::to_string(kLongSeconds)
           + " pattern=smpte ! video/x-raw,format=I420,width=160,height=120,framerate=1/1 ! "
           + x264("pass=quant quantizer=40", 10)
           + " ! avimux ! filesink location=LOCATION";
}

std::string cacheKey()
{
    uint64_t x = 1469598103934665603ull;
    for (const std::string& s : {std::string("sdmedia-1"), shortPipeline(), longPipeline()}) {
        for (char c : s)
            x = (x ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    char buf[24];
    snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(x));
    return buf;
}

bool readFile(const fs::path& p, std::string& out)
{
    std::ifstream in(p, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    out = s.str();
    return !out.empty();
}

bool encode(std::string pipelineText, const fs::path& out, std::string& error)
{
    pipelineText.replace(pipelineText.find("LOCATION"), 8, "\"" + out.string() + "\"");
    GError* err = nullptr;
    GstElement* pipeline = gst_parse_launch(pipelineText.c_str(), &err);
    if (!pipeline || err) {
        error = std::string("card media encoder: ") + (err ? err->message : "failed");
        g_clear_error(&err);
        if (pipeline)
            gst_object_unref(pipeline);
        return false;
    }
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* msg = gst_bus_timed_pop_filtered(bus, 120 * GST_SECOND,
                                                 static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    bool ok = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
    if (msg && !ok) {
        GError* e = nullptr;
        gst_message_parse_error(msg, &e, nullptr);
        error = std::string("card media encoder: ") + (e ? e->message : "error");
        g_clear_error(&e);
    } else if (!msg) {
        error = "card media encoder: timed out";
    }
    if (msg)
        gst_message_unref(msg);
    gst_object_unref(bus);
    // The muxer writes its index when it goes to NULL after the end.
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return ok;
}

// The cached file, or a new one: encoded under a name of this process and
// renamed, so that cameras starting side by side never read half a file.
bool cached(const fs::path& dir, const char* name, const std::string& pipeline, std::string& out, std::string& error)
{
    const fs::path target = dir / name;
    if (readFile(target, out))
        return true;
    const fs::path part = dir / (std::string(name) + "." + std::to_string(getpid()) + ".part");
    if (!encode(pipeline, part, error)) {
        std::error_code ec;
        fs::remove(part, ec);
        return false;
    }
    std::error_code ec;
    fs::rename(part, target, ec);
    if (ec) {
        error = "card media: " + ec.message();
        fs::remove(part, ec);
        return false;
    }
    if (!readFile(target, out)) {
        error = "card media: cannot read " + target.string();
        return false;
    }
    return true;
}

}  // namespace

bool SdMedia::load(SdMedia& out, std::string& error)
{
    if (!gst_init_check(nullptr, nullptr, nullptr)) {
        error = "card media: no GStreamer";
        return false;
    }
    std::error_code ec;
    fs::path dir = fs::temp_directory_path(ec) / ("camsim-sdmedia-" + cacheKey());
    fs::create_directories(dir, ec);
    if (ec) {
        error = "card media: " + ec.message();
        return false;
    }
    if (!cached(dir, "short.avi", shortPipeline(), out.shortRecording, error)
        || !cached(dir, "long.avi", longPipeline(), out.longRecording, error))
        return false;
    out.shortSeconds = kShortSeconds;
    out.longSeconds = kLongSeconds;
    return true;
}

}  // namespace camsim
