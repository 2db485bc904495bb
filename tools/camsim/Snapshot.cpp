#include "tools/camsim/Snapshot.h"

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
    GError* err = nullptr;
    GstElement* pipeline = gst_parse_launch(line.c_str(), &err);
    if (!pipeline) {
        error = std::string("snapshot pipeline: ") + (err ? err->message : "failed");
        g_clear_error(&err);
        return {};
    }
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "out");
    g_signal_connect(sink, "handoff", G_CALLBACK(+[](GstElement*, GstBuffer* buf, GstPad*, gpointer out) {
                         GstMapInfo map;
                         if (gst_buffer_map(buf, &map, GST_MAP_READ)) {
                             static_cast<std::string*>(out)->assign(reinterpret_cast<const char*>(map.data), map.size);
                             gst_buffer_unmap(buf, &map);
                         }
                     }),
                     &jpeg_);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* msg = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND,
                                                 static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    if (!msg || GST_MESSAGE_TYPE(msg) == GST_MESSAGE_ERROR)
        error = "snapshot: the encoder failed";
    if (msg)
        gst_message_unref(msg);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(sink);
    gst_object_unref(pipeline);
    if (!error.empty())
        jpeg_.clear();
    return jpeg_;
}

}  // namespace camsim
