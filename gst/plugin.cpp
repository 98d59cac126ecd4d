// The plugin "tulrezzo" and its one element.
#include "gst/tulrezzo_element.h"

#include <gst/gst.h>

namespace {

gboolean PluginInit(GstPlugin* plugin)
{
    return gst_element_register(plugin, "tulrezzo", GST_RANK_NONE, GST_TYPE_TUL_REZZO);
}

}  // namespace

#define PACKAGE "tulimage"
GST_PLUGIN_DEFINE(GST_VERSION_MAJOR, GST_VERSION_MINOR, tulrezzo,
                  "The Vexo Tul Rezzo Filter in GStreamer pipelines", PluginInit, TUL_GST_VERSION, "Proprietary",
                  "TulImage", "Vexo")
