#include "tools/camsim/PipelineRun.h"

#include <gst/gst.h>

namespace camsim {

PipelineEnd runPipeline(const std::string& line, int timeoutSeconds, const BufferTaker& take, std::string& error)
{
    GError* err = nullptr;
    GstElement* pipeline = gst_parse_launch(line.c_str(), &err);
    if (!pipeline) {
        error = err ? err->message : "failed";
        g_clear_error(&err);
        return PipelineEnd::BadLine;
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    g_signal_connect(sink, "handoff", G_CALLBACK(+[](GstElement*, GstBuffer* buf, GstPad*, gpointer user) {
                         GstMapInfo map;
                         if (gst_buffer_map(buf, &map, GST_MAP_READ)) {
                             (*static_cast<const BufferTaker*>(user))(
                                 reinterpret_cast<const char*>(map.data), map.size,
                                 !GST_BUFFER_FLAG_IS_SET(buf, GST_BUFFER_FLAG_DELTA_UNIT));
                             gst_buffer_unmap(buf, &map);
                         }
                     }),
                     const_cast<BufferTaker*>(&take));
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* msg = gst_bus_timed_pop_filtered(bus, static_cast<GstClockTime>(timeoutSeconds) * GST_SECOND,
                                                 static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ended = msg && GST_MESSAGE_TYPE(msg) == GST_MESSAGE_EOS;
    if (msg)
        gst_message_unref(msg);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    return ended ? PipelineEnd::Ended : PipelineEnd::Failed;
}

}  // namespace camsim
