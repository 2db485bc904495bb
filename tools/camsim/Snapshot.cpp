#include "tools/camsim/Snapshot.h"

#include "tools/camsim/PipelineRun.h"

#include <gst/gst.h>

namespace camsim {

std::string Snapshot::jpeg(std::string& error)
{
    std::lock_guard lock(mutex_);
    if (!jpeg_.empty())
        return jpeg_;
    gst_init(nullptr, nullptr);
    std::string line =
        "videotestsrc num-buffers=1 pattern=smpte ! video/x-raw,format=I420,width=" + std::to_string(width_)
        + ",height=" + std::to_string(height_) + " ! jpegenc quality=85 ! fakesink name=out signal-handoffs=true";
    std::string picture;
    PipelineEnd end = runPipeline(
        line, 10, [&picture](const char* data, size_t size, bool) { picture.assign(data, size); }, error);
    if (end == PipelineEnd::BadLine) {
        error = "snapshot pipeline: " + error;
        return {};
    }
    if (end == PipelineEnd::Failed) {
        error = "snapshot: the encoder failed";
        return {};
    }
    jpeg_ = std::move(picture);
    return jpeg_;
}

}  // namespace camsim
