// GstTulRezzo, the element "tulrezzo": a GstBaseTransform hosting the
// "Vexo Tul Rezzo Filter" in a graph of its own.
#pragma once

#include <gst/base/gstbasetransform.h>

G_BEGIN_DECLS

namespace tulgst {
struct ElementState;
}

struct GstTulRezzo {
    GstBaseTransform parent;
    tulgst::ElementState* state;
};

struct GstTulRezzoClass {
    GstBaseTransformClass parent_class;
    // The "snapshot" action signal.
    GstSample* (*snapshot)(GstTulRezzo* self, gint width, gint height, const gchar* format);
};

GType gst_tul_rezzo_get_type();
#define GST_TYPE_TUL_REZZO (gst_tul_rezzo_get_type())
#define GST_TUL_REZZO(obj) (G_TYPE_CHECK_INSTANCE_CAST((obj), GST_TYPE_TUL_REZZO, GstTulRezzo))

G_END_DECLS
