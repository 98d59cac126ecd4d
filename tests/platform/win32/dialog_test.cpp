// The dialog layer as a user works it: auto radio buttons clear only
// their own group, disabled controls ignore the user, and texts set or
// typed reach the dialog procedure as WM_COMMAND.
#include "platform/win32/dialog.h"
#include "platform/win32/dialog_user.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr DWORD kRadio = WS_CHILD | BS_AUTORADIOBUTTON;
// Two radio groups (the second starts at 20 with WS_GROUP), and an edit.
const DIALOG_CONTROL kControls[] = {
    {L"button", 10, L"a", 0, 0, 10, 10, kRadio | WS_GROUP}, {L"BUTTON", 11, L"b", 0, 10, 10, 10, kRadio},
    {L"BUTTON", 20, L"c", 0, 20, 10, 10, kRadio | WS_GROUP}, {L"BUTTON", 21, L"d", 0, 30, 10, 10, kRadio},
    {L"EDIT", 30, L"", 0, 40, 40, 12, WS_CHILD | WS_GROUP},
};
const DIALOG_TEMPLATE kDialog = {WS_CHILD, 100, 60, L"MS Shell Dlg", 8, kControls, 5};

std::vector<WPARAM> g_commands;

INT_PTR Record(HWND, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_COMMAND)
        g_commands.push_back(wParam);
    return 0;
}

struct DialogTest : ::testing::Test {
    void SetUp() override { g_commands.clear(); }
    void TearDown() override { DestroyWindow(dialog); }
    HWND dialog = CreateDialogIndirectParamW(nullptr, &kDialog, nullptr, Record, 0);
    UINT Checked(int id) { return IsDlgButtonChecked(dialog, id); }
};

TEST_F(DialogTest, AutoRadioButtonsClearOnlyTheirOwnGroup)
{
    CheckRadioButton(dialog, 20, 21, 21);
    UserClick(GetDlgItem(dialog, 10));
    UserClick(GetDlgItem(dialog, 11));
    EXPECT_EQ(Checked(10), BST_UNCHECKED);
    EXPECT_EQ(Checked(11), BST_CHECKED);
    EXPECT_EQ(Checked(21), BST_CHECKED);
    EXPECT_EQ(g_commands, (std::vector<WPARAM>{MAKEWPARAM(10, BN_CLICKED), MAKEWPARAM(11, BN_CLICKED)}));
}

TEST_F(DialogTest, DisabledControlsIgnoreTheUserButNotTheProgram)
{
    EXPECT_FALSE(EnableWindow(GetDlgItem(dialog, 30), FALSE));
    EXPECT_FALSE(EnableWindow(GetDlgItem(dialog, 20), FALSE));
    EXPECT_FALSE(UserTypeText(GetDlgItem(dialog, 30), L"typed"));
    UserClick(GetDlgItem(dialog, 20));
    EXPECT_EQ(Checked(20), BST_UNCHECKED);
    EXPECT_TRUE(g_commands.empty());
    EXPECT_TRUE(SetDlgItemTextW(dialog, 30, L"12345"));
    EXPECT_EQ(g_commands, (std::vector<WPARAM>{MAKEWPARAM(30, EN_CHANGE)}));
    WCHAR text[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(GetDlgItemTextW(dialog, 30, text, 4), 3u);
    EXPECT_EQ(std::wstring(text), L"123");
    EXPECT_EQ(GetDlgItemTextW(dialog, 99, text, 4), 0u);
    EXPECT_EQ(text[0], L'\0');
    EXPECT_TRUE(EnableWindow(GetDlgItem(dialog, 30), TRUE));
    EXPECT_TRUE(UserTypeText(GetDlgItem(dialog, 30), L"typed"));
}

}  // namespace
