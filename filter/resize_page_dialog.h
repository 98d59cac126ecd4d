// The property page's resources: dialog 101 with its controls, and the
// page title, string 1015.
#pragma once

#include "platform/win32/dialog_template.h"

constexpr int IDD_RESIZE_PAGE = 101;
constexpr int IDC_FIT_DESTINATION = 1002;
constexpr int IDC_KEEP_ASPECT = 1003;
constexpr int IDC_WIDTH = 1012;
constexpr int IDC_HEIGHT = 1014;
constexpr int IDS_RESIZE_PAGE_TITLE = 1015;

// The module's resources: that dialog and that string.
extern const MODULE_RESOURCES kResizePageResources;
