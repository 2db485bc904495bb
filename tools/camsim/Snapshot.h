#pragma once
// The camera's still picture: one JPEG frame of the test pattern at the main
// stream's size, made once on first use. Safe from any thread.

#include <mutex>
#include <string>

namespace camsim {

class Snapshot {
public:
    Snapshot(int width, int height) : width_(width), height_(height) {}
    // The JPEG bytes, or empty with `error` when the picture cannot be made.
    std::string jpeg(std::string& error);

private:
    int width_, height_;
    std::mutex mutex_;  // guards jpeg_
    std::string jpeg_;
};

}  // namespace camsim
