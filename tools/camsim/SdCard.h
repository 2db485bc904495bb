#pragma once
// The camera's memory card: day folders "YYYYMMDD/" (today by the camera's
// clock and earlier days), each with a folder of recordings (playable AVI
// files, one of them over 36 minutes long) and one of pictures (JPEG) and
// their index files, served as HTML listing pages and plain
// files below "/sd/" (GET and HEAD, with byte ranges). Tests reshape the
// card through /camsim/sd: a page's markup set verbatim, a file added, or a
// page of N rows made, so hostile cards are a request away.
//
// Threads: handle() and control() on the HTTP server's connection threads;
// mutex_ guards the card.

#include "tools/camsim/Dialect.h"
#include "tools/camsim/Query.h"
#include "tools/camsim/SdMedia.h"
#include "tools/camsim/Snapshot.h"

#include <ctime>
#include <map>
#include <mutex>
#include <string>

namespace camsim {

class SdCard : public Dialect {
public:
    explicit SdCard(CameraState& state);
    bool handles(const HttpRequest& req) const override;
    HttpReply handle(const HttpRequest& req) override;
    // /camsim/sd?page=PATH&markup=TEXT | page=PATH&rows=N |
    //            file=PATH&size=N[&time=YYYYMMDDhhmmss][&name=LISTED NAME]
    //                [&listed=SIZE TEXT][&endless=1][&media=short]
    //                [&status=N][&cut=N]
    // listed: the size column shows this text whatever the body is;
    // endless: the body never ends (no length, sent again and again);
    // media=short: the body is the short recording, not made-up bytes;
    // status: the file is answered with it (a 302 names no place to go);
    // cut: the connection drops after that many bytes of the body.
    HttpReply control(const QueryPairs& query);

private:
    // What a file's body is made of; all but Data on first use.
    enum class Kind { Data, Picture, Recording, LongRecording };
    struct File {
        std::string listedName;  // empty: the last component of its path
        time_t modified = 0;
        std::string body;
        Kind kind = Kind::Data;
        std::string listedSize;  // empty: the body's size in K
        bool endless = false;
        int status = 200;  // another answers with that status and no file
        int cut = -1;      // body bytes sent before the connection drops; -1: all
    };
    void addDay(time_t day, int index);
    // Encodes (or reads from the cache) the recordings once and fills their
    // bodies; an error stays and is the answer for each recording.
    void loadMedia();
    void makePictures(const std::string& folder);
    std::string listing(const std::string& folder) const;
    bool isFolder(const std::string& path) const;

    Snapshot snapshot_;
    std::mutex mediaMutex_;  // guards the three below; taken before mutex_
    bool mediaTried_ = false;
    std::string mediaError_;
    SdMedia media_;
    mutable std::mutex mutex_;  // guards files_ and markup_
    std::map<std::string, File> files_;
    std::map<std::string, std::string> markup_;
};

}  // namespace camsim
