// The tulrezzo element's properties, mapped to IResizeSettings.
#pragma once

#include "gst/element_state.h"

#include <glib-object.h>

namespace tulgst {

// Installs the properties with their handlers on the element's class.
void InstallProperties(GObjectClass* klass);

// Gives a newly made filter every setting the properties hold (st.lock
// held). The output size is given again at each connection.
void ApplySettingsLocked(ElementState& st);

}  // namespace tulgst
