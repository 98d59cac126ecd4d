// Dialog 101: a child dialog of 215 x 120 dialog units in "MS Shell Dlg"
// 8 pt with the size edits in "Resize To..." and the two auto radio
// buttons in "Resize Mode". Control order is tab order; the statics'
// WS_GROUP ends the group the radio buttons form with the controls
// before them.
#include "filter/resize_page_dialog.h"

namespace {

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr int kStatic = -1;

const DIALOG_CONTROL kControls[] = {
    {L"EDIT", IDC_WIDTH, L"", 40, 11, 40, 13, kEdit},
    {L"EDIT", IDC_HEIGHT, L"", 40, 30, 40, 13, kEdit},
    {L"BUTTON", IDC_FIT_DESTINATION, L"Fit destination Size", 5, 75, 75, 10,
     kChild | BS_AUTORADIOBUTTON | BS_MULTILINE},
    {L"BUTTON", IDC_KEEP_ASPECT, L"Keep aspect ratio", 5, 92, 71, 10, kChild | BS_AUTORADIOBUTTON},
    {L"BUTTON", kStatic, L"Resize To...", 0, 0, 87, 51, kChild | BS_GROUPBOX},
    {L"STATIC", kStatic, L"&Width(X)", 7, 14, 25, 9, kChild | WS_GROUP | SS_LEFT},
    {L"STATIC", kStatic, L"&Height(Y)", 7, 32, 25, 9, kChild | WS_GROUP | SS_LEFT},
    {L"BUTTON", kStatic, L"Resize Mode", 1, 59, 87, 51, kChild | BS_GROUPBOX},
};

const DIALOG_TEMPLATE kResizePage = {WS_CHILD | DS_SETFONT, 215, 120, L"MS Shell Dlg", 8, kControls,
                                     sizeof kControls / sizeof kControls[0]};

const DIALOG_RESOURCE kDialogs[] = {{IDD_RESIZE_PAGE, &kResizePage}};
const STRING_RESOURCE kStrings[] = {{IDS_RESIZE_PAGE_TITLE, L"Resize Detail..."}};

}  // namespace

const MODULE_RESOURCES kResizePageResources = {kDialogs, 1, kStrings, 1};
