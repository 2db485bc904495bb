// camsim: one simulated network camera on loopback ports. See `camsim --help`.

#include "tools/camsim/Camera.h"
#include "tools/camsim/HttpServer.h"
#include "tools/camsim/Options.h"
#include "tools/camsim/PtzDialect.h"
#include "tools/camsim/RtspServer.h"
#include "tools/camsim/SidePeers.h"
#include "tools/camsim/UpgradeCgi.h"

#include <gst/gst.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <pthread.h>
#include <thread>

using namespace camsim;

int main(int argc, char** argv)
{
    if (argc >= 2 && std::string(argv[1]) == "--make-package") {
        // An optional fifth argument sizes the payload (4096 bytes unless given).
        long size = argc == 6 ? std::strtol(argv[5], nullptr, 10) : 4096;
        if ((argc != 5 && argc != 6) || size < 0 || size > (64L << 20)) {
            fprintf(stderr, "camsim: --make-package MODEL VERSION OUT [PAYLOAD BYTES]\n");
            return 2;
        }
        std::string payload(static_cast<size_t>(size), '\0');
        for (size_t i = 0; i < payload.size(); ++i)
            payload[i] = static_cast<char>(i * 31 + 7);
        std::string pkg = makePackage(argv[2], argv[3], payload);
        FILE* out = pkg.empty() ? nullptr : fopen(argv[4], "wb");
        bool ok = out && fwrite(pkg.data(), 1, pkg.size(), out) == pkg.size();
        if (out)
            ok = fclose(out) == 0 && ok;
        if (!ok) {
            fprintf(stderr, "camsim: cannot write the package %s\n", argv[4]);
            return 1;
        }
        return 0;
    }
    Options options;
    bool help = false;
    std::string error;
    if (!parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, help, error)) {
        fprintf(stderr, "camsim: %s (camsim --help tells the options)\n", error.c_str());
        return 2;
    }
    if (help) {
        fputs(usageText().c_str(), stdout);
        return 0;
    }

    // Every thread inherits this mask, so only sigwait() below sees the
    // signals that end the program; a peer gone mid-write is no signal at all.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    // The side channels first: family HV reports the port they got.
    SidePeers peers(options);
    peers.start();
    if (peers.hvPort())
        options.hvVideoPort = peers.hvPort();
    if (options.reportedVideoPort >= 0)
        options.hvVideoPort = options.reportedVideoPort;
    PtzJournal ptzJournal;

    Camera camera(options);
    camera.addDialectFirst(std::make_unique<PtzDialect>(camera.state(), ptzJournal));
    camera.sideRequest = [&peers](const HttpRequest& req, HttpReply& reply) { return peers.takeHttp(req, reply); };
    camera.sideControl = [&peers, &ptzJournal](const HttpRequest& req, HttpReply& reply) {
        if (req.path == "/camsim/ptz") {
            if (req.query == "clear=1")
                ptzJournal.clear();
            reply = HttpReply::text(200, ptzJournal.text());
            return true;
        }
        return peers.control(req, reply);
    };
    camera.sideFault = [&peers](const std::string& key, const std::string& value, bool apply, std::string& err) {
        if (key == "clear") {
            peers.clearFaults();
            return true;
        }
        return peers.fault(key, value, apply, err);
    };
    camera.sideState = [&peers] { return peers.describe(); };
    peers.ajEncodeType = [&camera] { return camera.state().settings.get("encode_type").value_or("G.711A"); };
    if (!camera.openLog(error)) {
        fprintf(stderr, "camsim: %s\n", error.c_str());
        return 1;
    }

    std::unique_ptr<RtspServer> rtsp;
    if (options.rtsp) {
        gst_init(nullptr, nullptr);
        rtsp = std::make_unique<RtspServer>(options);
        if (!rtsp->start(error)) {
            fprintf(stderr, "camsim: %s\n", error.c_str());
            return 1;
        }
        camera.onStream = [&rtsp](StreamAction a) {
            switch (a) {
            case StreamAction::Stop:
                rtsp->stopStream();
                break;
            case StreamAction::Stall:
                rtsp->stallStream();
                break;
            case StreamAction::Resume:
                rtsp->resume();
                break;
            }
            return true;
        };
        camera.streamState = [&rtsp] { return rtsp->describe(); };
    }

    HttpServer http([&camera](const HttpRequest& req) { return camera.handle(req); });
    http.setBodyPace([&camera](const HttpRequest& req) { return camera.bodyPace(req); });
    camera.onVanish = [&http, &rtsp](int seconds) {
        fprintf(stderr, "camsim: vanishing for %d s\n", seconds);
        // The stream first: the web port closing drops the control request's
        // own connection, and by then both ports are to be gone.
        if (rtsp)
            rtsp->vanish(seconds);
        http.vanish(seconds);
    };
    if (!http.start(options.bind, options.httpPort, error)) {
        fprintf(stderr, "camsim: %s\n", error.c_str());
        return 1;
    }

    std::thread vanishTimer;
    if (options.vanishAfter >= 0) {
        vanishTimer = std::thread([&camera, &options] {
            std::this_thread::sleep_for(std::chrono::seconds(options.vanishAfter));
            camera.onVanish(options.vanishFor);
        });
        vanishTimer.detach();
    }

    printf("camsim: http=%d rtsp=%d\n", http.port(), rtsp ? rtsp->port() : 0);
    fflush(stdout);
    fprintf(stderr, "camsim: %s camera, user %s, auth %s\n", familyName(options.family).c_str(), options.user.c_str(),
            authModeName(options.auth));

    int sig = 0;
    sigwait(&stopSignals, &sig);
    http.stop();
    if (rtsp)
        rtsp->stop();
    // The detached vanish timer may still sleep; leave without running the
    // destructors it could race with.
    fflush(nullptr);
    _exit(0);
}
