// The registration routine over a module's template table: the COM class
// keys of every row and the mapper entry of every row with setup data.
#pragma once

#include "filter/framework/class_factory.h"

// Registering writes, for every row, "CLSID\{...}" = the row's name with
// "InprocServer32" = the absolute path of the module holding
// addressInModule and "ThreadingModel" = "Both", then registers the setup
// rows with the mapper (IFilterMapper2, else IFilterMapper) in the legacy
// filter category; the first failure is returned and what was written
// stays. Unregistering removes the mapper entries first (one that is not
// there counts as removed) and the class keys only when that succeeded.
HRESULT RegisterModuleTemplates(const CFactoryTemplate* templates, int count, const void* addressInModule,
                                BOOL bRegister);
