#include "GstSetup.h"

#include <mutex>

#include <gst/gst.h>

namespace lectoria::platform {

namespace {

void SetRank(GstRegistry* registry, const char* feature, guint rank)
{
    if (GstPluginFeature* found = gst_registry_lookup_feature(registry, feature)) {
        gst_plugin_feature_set_rank(found, rank);
        gst_object_unref(found);
    }
}

} // namespace

std::string InitGStreamer()
{
    static std::once_flag once;
    static std::string error;
    std::call_once(once, [] {
        GError* failure = nullptr;
        if (!gst_init_check(nullptr, nullptr, &failure)) {
            error = std::string("GStreamer cannot start: ") + (failure != nullptr ? failure->message : "unknown error");
            g_clear_error(&failure);
            return;
        }
        GstRegistry* registry = gst_registry_get();
        // Debian ranks libav's MP3 decoders equal to mpg123's, and the tie goes to libav by name:
        // its plug-in drags in the whole FFmpeg stack (video codecs, filters, speech synthesis),
        // a tenth of a second before the first sentence sounds. mpg123 decodes every MP3 alone.
        SetRank(registry, "mpg123audiodec", GST_RANK_PRIMARY);
        // Qt Multimedia's device list would scan for cameras, which a reading program never uses.
        SetRank(registry, "v4l2deviceprovider", GST_RANK_NONE);
    });
    return error;
}

} // namespace lectoria::platform
