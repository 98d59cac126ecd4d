// Enum types registered once with GObject.
#include "gst/element_enums.h"

#include "filter/core/resize_settings_values.h"

namespace tulgst {
namespace {

// Any value but AUTO and ALWAYS means never to the filter.
constexpr LONG kFieldPolicyNever = 1;
static_assert(kFieldPolicyNever != FIELD_POLICY_AUTO && kFieldPolicyNever != FIELD_POLICY_ALWAYS);

GType Register(const char* name, const GEnumValue* values)
{
    return g_enum_register_static(name, values);
}

}  // namespace

GType ModeType()
{
    static const GEnumValue values[] = {
        {static_cast<gint>(Mode::Stretch), "Fill the output frame, whatever the picture's shape", "stretch"},
        {static_cast<gint>(Mode::KeepAspect), "Keep the picture's shape, with black bars", "keep-aspect"},
        {0, nullptr, nullptr}};
    static const GType type = Register("GstTulRezzoMode", values);
    return type;
}

GType DeinterlaceType()
{
    static const GEnumValue values[] = {
        {static_cast<gint>(Deinterlace::None), "Leave the fields alone", "none"},
        {static_cast<gint>(Deinterlace::Double), "Double the lines of one field", "double"},
        {static_cast<gint>(Deinterlace::Average), "Average the lines of one field", "average"},
        {0, nullptr, nullptr}};
    static const GType type = Register("GstTulRezzoDeinterlace", values);
    return type;
}

GType PolicyType()
{
    static const GEnumValue values[] = {
        {static_cast<gint>(Policy::Auto), "When the height is kept, unless it is a multiple of 32", "auto"},
        {static_cast<gint>(Policy::Always), "Always, for interlaced input", "always"},
        {static_cast<gint>(Policy::Never), "Never", "never"},
        {0, nullptr, nullptr}};
    static const GType type = Register("GstTulRezzoPolicy", values);
    return type;
}

LONG FilterMode(Mode mode) { return mode == Mode::KeepAspect ? RESIZE_MODE_KEEP_ASPECT : RESIZE_MODE_FIT; }

LONG FilterMethod(Deinterlace method)
{
    switch (method) {
    case Deinterlace::Double: return FIELD_FILL_DOUBLE;
    case Deinterlace::Average: return FIELD_FILL_AVERAGE;
    default: return FIELD_FILL_NONE;
    }
}

LONG FilterPolicy(Policy policy)
{
    switch (policy) {
    case Policy::Always: return FIELD_POLICY_ALWAYS;
    case Policy::Never: return kFieldPolicyNever;
    default: return FIELD_POLICY_AUTO;
    }
}

}  // namespace tulgst
