#include "tools/camsim/RtspServer.h"

#include "tools/camsim/ReplayClip.h"

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>
#include <gst/rtsp-server/rtsp-server.h>

#include <chrono>
#include <future>
#include <mutex>
#include <vector>

namespace camsim {

namespace {

// Every path a stream URL of any family can take: the channel part
// "/ch=N" is there for channels 1-3, "/sl=1" selects the sub stream.
struct MountPath {
    const char* path;
    bool sub;
};
constexpr MountPath kPaths[] = {
    {"/", false},    {"/ch=1", false},     {"/ch=2", false},     {"/ch=3", false},
    {"/sl=1", true}, {"/ch=1/sl=1", true}, {"/ch=2/sl=1", true}, {"/ch=3/sl=1", true},
};

std::string launchLine(const Options& o, bool sub)
{
    int w = sub ? std::max(16, o.width / 2 / 2 * 2) : o.width;
    int h = sub ? std::max(16, o.height / 2 / 2 * 2) : o.height;
    int kbps = sub ? std::max(16, o.bitrateKbps / 4) : o.bitrateKbps;
    std::string s;
    // With --replay, a reader that cannot keep up loses the oldest frames,
    // not our memory.
    if (o.replay)
        s = "( appsrc name=vsrc is-live=true do-timestamp=true format=time max-bytes=4000000 leaky-type=downstream "
            "caps=\"video/x-h264,stream-format=(string)byte-stream,alignment=(string)au\" "
            "! valve name=vvalve ! "
            + std::string(o.unusableStream ? "rtpgstpay name=pay0 pt=96" : "rtph264pay name=pay0 pt=96 config-interval=-1");
    else
        s = "( videotestsrc is-live=true pattern=smpte horizontal-speed=2 ! video/x-raw,format=I420,width="
            + std::to_string(w) + ",height=" + std::to_string(h) + ",framerate=" + std::to_string(o.fps)
            + "/1 ! valve name=vvalve ! x264enc tune=zerolatency speed-preset=ultrafast bframes=0 threads=1 bitrate="
            + std::to_string(kbps) + " key-int-max=" + std::to_string(o.keyInterval)
            + " ! video/x-h264,profile=constrained-baseline ! "
            + (o.unusableStream ? "rtpgstpay name=pay0 pt=96" : "rtph264pay name=pay0 pt=96 config-interval=-1");
    if (o.audio && o.replay)
        s += " appsrc name=asrc is-live=true do-timestamp=true format=time max-bytes=100000 leaky-type=downstream "
             "caps=\"audio/x-alaw,rate=(int)8000,channels=(int)1\" ! valve name=avalve ! rtppcmapay name=pay1 pt=8";
    else if (o.audio)
        s += " audiotestsrc is-live=true wave=sine freq=440 volume=0.3 samplesperbuffer=320 ! "
             "audio/x-raw,format=S16LE,rate=8000,channels=1 ! valve name=avalve ! alawenc ! rtppcmapay name=pay1 pt=8";
    return s + " )";
}

// Sends a replay clip into a media's appsrc at the frame rate, from its own
// thread, until the media goes. While the media is not playing it waits at
// a key frame, so every session starts with one.
class ReplayFeeder {
public:
    ReplayFeeder(GstElement* src, const ReplayClip& clip) : src_(src), clip_(clip)
    {
        thread_ = std::thread([this] { run(); });
    }
    ~ReplayFeeder()
    {
        stop_ = true;
        thread_.join();
        gst_object_unref(src_);
    }

private:
    void run()
    {
        using Clock = std::chrono::steady_clock;
        const auto period = std::chrono::nanoseconds(1000000000LL / clip_.fps);
        const size_t n = clip_.frames.size();
        size_t i = 0;
        auto next = Clock::now();
        while (!stop_) {
            GstState state = GST_STATE_NULL;
            gst_element_get_state(src_, &state, nullptr, 0);
            if (state != GST_STATE_PLAYING) {
                while (!clip_.frames[i % n].key)
                    ++i;
            } else {
                const ReplayClip::Frame& f = clip_.frames[i % n];
                // The clip outlives every media, so buffers point into it.
                GstBuffer* b = gst_buffer_new_wrapped_full(GST_MEMORY_FLAG_READONLY, const_cast<char*>(f.data.data()),
                                                           f.data.size(), 0, f.data.size(), nullptr, nullptr);
                if (!f.key)
                    GST_BUFFER_FLAG_SET(b, GST_BUFFER_FLAG_DELTA_UNIT);
                GST_BUFFER_DURATION(b) = static_cast<GstClockTime>(period.count());
                gst_app_src_push_buffer(GST_APP_SRC(src_), b);
                ++i;
            }
            next += period;
            auto now = Clock::now();
            if (next < now - std::chrono::seconds(1))
                next = now;  // fell far behind (a loaded machine): do not rush to catch up
            std::this_thread::sleep_until(next);
        }
    }

    GstElement* src_;
    const ReplayClip& clip_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace

struct RtspServer::Impl {
    GMainContext* context = nullptr;
    GMainLoop* loop = nullptr;
    GstRTSPServer* server = nullptr;
    GstRTSPMountPoints* mounts = nullptr;
    GstRTSPMediaFactory* factories[2] = {nullptr, nullptr};  // main, sub
    GSource* listen = nullptr;
    GSource* backTimer = nullptr;  // polls until backAt, then listens again
    gint64 backAt = 0;
    bool backFailed = false;
    std::atomic<bool> mounted{false};

    std::mutex valveMutex;  // guards valves, feeders and stalled
    std::vector<std::pair<GstRTSPMedia*, GstElement*>> valves;
    std::vector<std::pair<GstRTSPMedia*, std::unique_ptr<ReplayFeeder>>> feeders;
    bool stalled = false;

    ReplayClip clips[2];  // main, sub; with --replay only
    ReplayClip tone = ReplayClip::alawTone();
    struct FactoryTag {
        Impl* impl;
        int sub;
    } tags[2] = {{this, 0}, {this, 1}};

    void mountAll()
    {
        for (const auto& p : kPaths)
            gst_rtsp_mount_points_add_factory(mounts, p.path, GST_RTSP_MEDIA_FACTORY(g_object_ref(factories[p.sub])));
        mounted = true;
    }
    void unmountAll()
    {
        for (const auto& p : kPaths)
            gst_rtsp_mount_points_remove_factory(mounts, p.path);
        mounted = false;
    }
    void dropClients()
    {
        gst_rtsp_server_client_filter(
            server, [](GstRTSPServer*, GstRTSPClient*, gpointer) { return GST_RTSP_FILTER_REMOVE; }, nullptr);
    }
    bool listenNow(std::string& error)
    {
        GError* err = nullptr;
        listen = gst_rtsp_server_create_source(server, nullptr, &err);
        if (!listen) {
            error = std::string("rtsp listen: ") + (err ? err->message : "failed");
            g_clear_error(&err);
            return false;
        }
        g_source_attach(listen, context);
        return true;
    }
    void closeListen()
    {
        if (listen) {
            g_source_destroy(listen);
            g_source_unref(listen);
            listen = nullptr;
        }
    }
    void setDrop(bool drop)
    {
        std::lock_guard lock(valveMutex);
        stalled = drop;
        for (auto& [media, valve] : valves)
            g_object_set(valve, "drop", drop ? TRUE : FALSE, nullptr);
    }

    static void onConfigure(GstRTSPMediaFactory*, GstRTSPMedia* media, gpointer data)
    {
        auto* tag = static_cast<FactoryTag*>(data);
        Impl* self = tag->impl;
        GstElement* bin = gst_rtsp_media_get_element(media);
        std::lock_guard lock(self->valveMutex);
        if (GstElement* src = gst_bin_get_by_name(GST_BIN(bin), "vsrc"))
            self->feeders.emplace_back(media, std::make_unique<ReplayFeeder>(src, self->clips[tag->sub]));
        if (GstElement* src = gst_bin_get_by_name(GST_BIN(bin), "asrc"))
            self->feeders.emplace_back(media, std::make_unique<ReplayFeeder>(src, self->tone));
        for (const char* name : {"vvalve", "avalve"}) {
            if (GstElement* v = gst_bin_get_by_name(GST_BIN(bin), name)) {
                g_object_set(v, "drop", self->stalled ? TRUE : FALSE, nullptr);
                self->valves.emplace_back(media, v);
            }
        }
        gst_object_unref(bin);
        g_signal_connect(media, "unprepared", G_CALLBACK(onUnprepared), self);
    }
    static void onUnprepared(GstRTSPMedia* media, gpointer data)
    {
        auto* self = static_cast<Impl*>(data);
        std::lock_guard lock(self->valveMutex);
        std::erase_if(self->valves, [media](auto& mv) {
            if (mv.first != media)
                return false;
            gst_object_unref(mv.second);
            return true;
        });
        std::erase_if(self->feeders, [media](auto& mf) { return mf.first == media; });
    }
};

RtspServer::RtspServer(const Options& options) : options_(options), impl_(std::make_unique<Impl>()) {}

RtspServer::~RtspServer()
{
    stop();
}

bool RtspServer::start(std::string& error)
{
    // A missing element would only show when the first client asks for the
    // stream; say it now instead.
    for (const char* name :
         {"videotestsrc", "x264enc", "rtph264pay", "rtpgstpay", "audiotestsrc", "alawenc", "rtppcmapay", "valve", "appsrc"}) {
        GstElementFactory* f = gst_element_factory_find(name);
        if (!f) {
            error = std::string("the GStreamer element ") + name + " is not installed";
            return false;
        }
        gst_object_unref(f);
    }
    Impl& d = *impl_;
    d.context = g_main_context_new();
    d.loop = g_main_loop_new(d.context, FALSE);
    d.server = gst_rtsp_server_new();
    gst_rtsp_server_set_address(d.server, options_.bind.c_str());
    gst_rtsp_server_set_service(d.server, std::to_string(options_.rtspPort).c_str());
    d.mounts = gst_rtsp_server_get_mount_points(d.server);

    for (int sub = 0; sub < 2; ++sub) {
        GstRTSPMediaFactory* f = gst_rtsp_media_factory_new();
        gst_rtsp_media_factory_set_launch(f, launchLine(options_, sub).c_str());
        // One encoder per stream, whatever the number of viewers, as on a camera.
        gst_rtsp_media_factory_set_shared(f, TRUE);
        gst_rtsp_media_factory_set_protocols(
            f, static_cast<GstRTSPLowerTrans>(GST_RTSP_LOWER_TRANS_TCP | GST_RTSP_LOWER_TRANS_UDP));
        if (options_.rtspAuth)
            gst_rtsp_media_factory_add_role(f, "user", GST_RTSP_PERM_MEDIA_FACTORY_ACCESS, G_TYPE_BOOLEAN, TRUE,
                                            GST_RTSP_PERM_MEDIA_FACTORY_CONSTRUCT, G_TYPE_BOOLEAN, TRUE, nullptr);
        g_signal_connect(f, "media-configure", G_CALLBACK(Impl::onConfigure), &d.tags[sub]);
        if (options_.replay && !ReplayClip::encode(options_, sub, d.clips[sub], error))
            return false;
        d.factories[sub] = f;
    }
    d.mountAll();

    if (options_.rtspAuth) {
        GstRTSPAuth* auth = gst_rtsp_auth_new();
        GstRTSPToken* token = gst_rtsp_token_new(GST_RTSP_TOKEN_MEDIA_FACTORY_ROLE, G_TYPE_STRING, "user", nullptr);
        gchar* basic = gst_rtsp_auth_make_basic(options_.user.c_str(), options_.password.c_str());
        gst_rtsp_auth_add_basic(auth, basic, token);
        g_free(basic);
        gst_rtsp_auth_add_digest(auth, options_.user.c_str(), options_.password.c_str(), token);
        gst_rtsp_token_unref(token);
        gst_rtsp_auth_set_supported_methods(auth,
                                            static_cast<GstRTSPAuthMethod>(GST_RTSP_AUTH_BASIC | GST_RTSP_AUTH_DIGEST));
        gst_rtsp_server_set_auth(d.server, auth);
        g_object_unref(auth);
    }

    if (!d.listenNow(error))
        return false;
    port_ = gst_rtsp_server_get_bound_port(d.server);
    // A camera that comes back takes the same port again.
    gst_rtsp_server_set_service(d.server, std::to_string(port_.load()).c_str());

    thread_ = std::thread([this] {
        g_main_context_push_thread_default(impl_->context);
        g_main_loop_run(impl_->loop);
        g_main_context_pop_thread_default(impl_->context);
    });
    if (options_.streamStopAfter >= 0) {
        runOnLoop([this] {
            GSource* t = g_timeout_source_new_seconds(static_cast<guint>(options_.streamStopAfter));
            g_source_set_callback(
                t,
                [](gpointer self) -> gboolean {
                    static_cast<RtspServer*>(self)->stopStream();
                    return G_SOURCE_REMOVE;
                },
                this, nullptr);
            g_source_attach(t, impl_->context);
            g_source_unref(t);
        });
    }
    return true;
}

void RtspServer::runOnLoop(std::function<void()> fn)
{
    if (!thread_.joinable() || std::this_thread::get_id() == thread_.get_id()) {
        fn();
        return;
    }
    struct Call {
        std::function<void()> fn;
        std::promise<void> done;
    };
    auto* call = new Call{std::move(fn), {}};
    std::future<void> done = call->done.get_future();
    g_main_context_invoke_full(
        impl_->context, G_PRIORITY_DEFAULT,
        [](gpointer p) -> gboolean {
            auto* c = static_cast<Call*>(p);
            c->fn();
            c->done.set_value();
            return G_SOURCE_REMOVE;
        },
        call, [](gpointer p) { delete static_cast<Call*>(p); });
    done.wait();
}

void RtspServer::stop()
{
    Impl& d = *impl_;
    if (!d.loop)
        return;
    if (thread_.joinable()) {
        runOnLoop([&d] {
            d.dropClients();
            d.closeListen();
            if (d.backTimer) {
                g_source_destroy(d.backTimer);
                g_source_unref(d.backTimer);
                d.backTimer = nullptr;
            }
        });
        g_main_loop_quit(d.loop);
        thread_.join();
    }
    {
        std::lock_guard lock(d.valveMutex);
        for (auto& [media, valve] : d.valves)
            gst_object_unref(valve);
        d.valves.clear();
        d.feeders.clear();
    }
    for (auto*& f : d.factories) {
        if (f)
            g_object_unref(f);
        f = nullptr;
    }
    g_clear_object(&d.mounts);
    g_clear_object(&d.server);
    g_main_loop_unref(d.loop);
    d.loop = nullptr;
    g_main_context_unref(d.context);
    d.context = nullptr;
}

void RtspServer::stopStream()
{
    runOnLoop([this] {
        if (impl_->mounted)
            impl_->unmountAll();
        impl_->dropClients();
    });
}

void RtspServer::stallStream()
{
    impl_->setDrop(true);
}

void RtspServer::resume()
{
    runOnLoop([this] {
        if (!impl_->mounted)
            impl_->mountAll();
    });
    impl_->setDrop(false);
}

void RtspServer::vanish(int seconds)
{
    runOnLoop([this, seconds] {
        Impl& d = *impl_;
        d.closeListen();
        d.dropClients();
        if (d.backTimer) {
            g_source_destroy(d.backTimer);
            g_source_unref(d.backTimer);
        }
        d.backAt = g_get_monotonic_time() + static_cast<gint64>(seconds) * G_USEC_PER_SEC;
        d.backFailed = false;
        d.backTimer = g_timeout_source_new(20);
        g_source_set_callback(
            d.backTimer,
            [](gpointer p) -> gboolean {
                auto* self = static_cast<Impl*>(p);
                if (g_get_monotonic_time() < self->backAt)
                    return G_SOURCE_CONTINUE;
                std::string error;
                if (!self->listenNow(error)) {
                    if (!self->backFailed)
                        fprintf(stderr, "camsim: %s, trying again\n", error.c_str());
                    self->backFailed = true;
                    return G_SOURCE_CONTINUE;
                }
                g_source_unref(self->backTimer);
                self->backTimer = nullptr;
                return G_SOURCE_REMOVE;
            },
            &d, nullptr);
        g_source_attach(d.backTimer, d.context);
    });
}

std::string RtspServer::describe() const
{
    std::lock_guard lock(impl_->valveMutex);
    const char* state = !impl_->mounted ? "stopped" : impl_->stalled ? "stalled" : "running";
    return std::string("stream=") + state + "\nmedia=" + std::to_string(impl_->valves.size()) + "\n";
}

}  // namespace camsim
