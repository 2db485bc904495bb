#pragma once
// Runs a GStreamer pipeline once to its end, for what camsim encodes ahead
// of time (the replay clip, the snapshot picture). The pipeline's line ends
// in "fakesink name=out signal-handoffs=true"; each buffer that reaches it
// goes to `take` on the pipeline's streaming thread, one at a time. The
// caller's thread blocks until the end, an error or the time-out.

#include <cstddef>
#include <functional>
#include <string>

namespace camsim {

enum class PipelineEnd {
    Ended,    // the whole stream went through
    Failed,   // an element failed, or the end did not come in time
    BadLine,  // the line does not describe a pipeline (`error` says why)
};

using BufferTaker = std::function<void(const char* data, size_t size, bool key)>;

PipelineEnd runPipeline(const std::string& line, int timeoutSeconds, const BufferTaker& take, std::string& error);

}  // namespace camsim
