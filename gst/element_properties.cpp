// Properties. The filter is the judge of every value: one it refuses is
// reported as a warning and the property keeps its old value. The output
// size is accepted by the filter only while its output is unconnected, so
// while streaming a second, never connected filter answers for it, and
// the size (like the output aspect and the policy, which the filter reads
// when it prepares for a stream) is applied by the next negotiation.
#include "gst/element_properties.h"

#include "gst/guarded.h"
#include "gst/tulrezzo_element.h"

#include <gst/gst.h>

#include <string>

namespace tulgst {
namespace {

enum Property : guint { PROP_0, PROP_WIDTH, PROP_HEIGHT, PROP_MODE, PROP_OUTPUT_ASPECT, PROP_DEINTERLACE, PROP_POLICY };

// The filter that can answer for a size now: the hosted one while its
// output is unconnected, else the probe.
IResizeSettings* SizeJudgeLocked(ElementState& st)
{
    if (!st.host)
        return nullptr;
    if (!st.host->Connected())
        return st.host->Settings();
    if (!st.probe) {
        std::string why;
        st.probe = CreateProbeSettings(&why);
    }
    return st.probe.Get();
}

// Asks the filter about `next`; true when it takes it. `reconnect` is set
// when only a new connection applies it.
bool OfferLocked(ElementState& st, guint id, const Settings& next, bool* reconnect)
{
    *reconnect = false;
    if (!st.host)
        return true;  // nothing to ask; the element fails to start anyway
    IResizeSettings* settings = st.host->Settings();
    switch (id) {
    case PROP_WIDTH:
    case PROP_HEIGHT: {
        IResizeSettings* judge = SizeJudgeLocked(st);
        *reconnect = st.host->Connected();
        return judge != nullptr && judge->SetOutputSize(next.width, next.height) == S_OK;
    }
    case PROP_OUTPUT_ASPECT:
        *reconnect = st.host->Connected();
        return settings->SetOutputAspectRatio(next.aspectN, next.aspectD) == S_OK;
    case PROP_MODE: return settings->SetResizeMode(FilterMode(next.mode)) == S_OK;
    case PROP_DEINTERLACE: return settings->SetDeinterlaceMethod(FilterMethod(next.deinterlace)) == S_OK;
    case PROP_POLICY:
        *reconnect = st.host->Connected();
        return settings->SetDeinterlacePolicy(FilterPolicy(next.policy)) == S_OK;
    default: return false;
    }
}

std::string Describe(guint id, const Settings& s)
{
    switch (id) {
    case PROP_WIDTH:
    case PROP_HEIGHT: return "output size " + std::to_string(s.width) + "x" + std::to_string(s.height);
    case PROP_OUTPUT_ASPECT: return "output aspect " + std::to_string(s.aspectN) + ":" + std::to_string(s.aspectD);
    default: return "setting";
    }
}

void SetProperty(GObject* object, guint id, const GValue* value, GParamSpec* param)
{
    GstTulRezzo* self = GST_TUL_REZZO(object);
    ElementState& st = *self->state;
    std::unique_lock<std::recursive_mutex> lock(st.lock);
    Settings next = st.settings;
    switch (id) {
    case PROP_WIDTH: next.width = g_value_get_int(value); break;
    case PROP_HEIGHT: next.height = g_value_get_int(value); break;
    case PROP_MODE: next.mode = static_cast<Mode>(g_value_get_enum(value)); break;
    case PROP_OUTPUT_ASPECT:
        next.aspectN = gst_value_get_fraction_numerator(value);
        next.aspectD = gst_value_get_fraction_denominator(value);
        break;
    case PROP_DEINTERLACE: next.deinterlace = static_cast<Deinterlace>(g_value_get_enum(value)); break;
    case PROP_POLICY: next.policy = static_cast<Policy>(g_value_get_enum(value)); break;
    default: G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, param); return;
    }
    bool reconnect = false;
    if (!OfferLocked(st, id, next, &reconnect)) {
        const std::string refused = Describe(id, next);
        const std::string kept = Describe(id, st.settings);
        lock.unlock();
        GST_ELEMENT_WARNING(self, LIBRARY, SETTINGS, ("The filter refuses the %s; the %s stays", refused.c_str(), kept.c_str()),
                            ("property %s", param->name));
        return;
    }
    st.settings = next;
    st.reconnect = st.reconnect || reconnect;
    lock.unlock();
    if (reconnect)
        gst_base_transform_reconfigure_src(GST_BASE_TRANSFORM(self));
}

void GetProperty(GObject* object, guint id, GValue* value, GParamSpec* param)
{
    ElementState& st = *GST_TUL_REZZO(object)->state;
    std::lock_guard<std::recursive_mutex> lock(st.lock);
    const Settings& s = st.settings;
    switch (id) {
    case PROP_WIDTH: g_value_set_int(value, s.width); break;
    case PROP_HEIGHT: g_value_set_int(value, s.height); break;
    case PROP_MODE: g_value_set_enum(value, static_cast<gint>(s.mode)); break;
    case PROP_OUTPUT_ASPECT: gst_value_set_fraction(value, s.aspectN, s.aspectD); break;
    case PROP_DEINTERLACE: g_value_set_enum(value, static_cast<gint>(s.deinterlace)); break;
    case PROP_POLICY: g_value_set_enum(value, static_cast<gint>(s.policy)); break;
    default: G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, param); break;
    }
}

}  // namespace

void InstallProperties(GObjectClass* klass)
{
    klass->set_property = [](GObject* o, guint id, const GValue* v, GParamSpec* p) {
        Guarded([&] { SetProperty(o, id, v, p); });
    };
    klass->get_property = [](GObject* o, guint id, GValue* v, GParamSpec* p) {
        Guarded([&] { GetProperty(o, id, v, p); });
    };
    const Settings defaults;
    const auto flags = static_cast<GParamFlags>(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS | GST_PARAM_MUTABLE_PLAYING);
    // The ranges are the widest the types hold: the filter itself refuses
    // odd widths, empty sizes and frames past 32-bit byte counts.
    g_object_class_install_property(
        klass, PROP_WIDTH,
        g_param_spec_int("width", "Width", "Output width in pixels, even; a change while playing renegotiates", 0,
                         G_MAXINT, defaults.width, flags));
    g_object_class_install_property(
        klass, PROP_HEIGHT,
        g_param_spec_int("height", "Height", "Output height in pixels; a change while playing renegotiates", 0,
                         G_MAXINT, defaults.height, flags));
    g_object_class_install_property(
        klass, PROP_MODE,
        g_param_spec_enum("mode", "Resize mode", "How the picture fills the output frame", ModeType(),
                          static_cast<gint>(defaults.mode), flags));
    g_object_class_install_property(
        klass, PROP_OUTPUT_ASPECT,
        gst_param_spec_fraction("output-aspect", "Output aspect",
                                "Picture aspect of the output frame (1/1: the frame's own shape, square pixels); "
                                "both terms above 0",
                                0, 1, G_MAXINT, 1, defaults.aspectN, defaults.aspectD, flags));
    g_object_class_install_property(
        klass, PROP_DEINTERLACE,
        g_param_spec_enum("deinterlace", "Deinterlace", "How the fields of interlaced input are filled in",
                          DeinterlaceType(), static_cast<gint>(defaults.deinterlace), flags));
    g_object_class_install_property(
        klass, PROP_POLICY,
        g_param_spec_enum("policy", "Deinterlace policy", "When the fields of interlaced input are filled in",
                          PolicyType(), static_cast<gint>(defaults.policy), flags));
}

void ApplySettingsLocked(ElementState& st)
{
    IResizeSettings* settings = st.host->Settings();
    const Settings& s = st.settings;
    settings->SetOutputSize(s.width, s.height);
    settings->SetOutputAspectRatio(s.aspectN, s.aspectD);
    settings->SetResizeMode(FilterMode(s.mode));
    settings->SetDeinterlaceMethod(FilterMethod(s.deinterlace));
    settings->SetDeinterlacePolicy(FilterPolicy(s.policy));
}

}  // namespace tulgst
