// The framework in one include, as filters written for DirectShow expect.
#pragma once

#include "filter/framework/allocator.h"
#include "filter/framework/base_filter.h"
#include "filter/framework/base_pin.h"
#include "filter/framework/class_factory.h"
#include "filter/framework/combase.h"
#include "filter/framework/crit_sec.h"
#include "filter/framework/input_pin.h"
#include "filter/framework/media_type.h"
#include "filter/framework/output_pin.h"
#include "filter/framework/property_page.h"
#include "filter/framework/transform_filter.h"
#include "platform/com/module_objects.h"
#include "platform/com/task_memory.h"
#include "platform/dshow/interfaces.h"
#include "platform/dshow/media_type_memory.h"
