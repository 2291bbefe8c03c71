#include "media/host/Decoders.h"

#include <gst/gst.h>

void preferLightDecoders() {
    GstPluginFeature* mpg123 = gst_registry_lookup_feature(gst_registry_get(), "mpg123audiodec");
    if (!mpg123) return;
    gst_plugin_feature_set_rank(mpg123, GST_RANK_PRIMARY);
    gst_object_unref(mpg123);
}
