#include "resources/dialogs.h"

#include "resources/ids.h"

namespace res {
namespace {

using namespace ids;
using K = ControlKind;
constexpr unsigned G = cs::Group;
constexpr unsigned TS = cs::TabStop;
constexpr unsigned EditStyle = cs::Border | cs::AutoHScroll | TS;

constexpr ControlTemplate kAbout[] = {
    {IDOK, K::DefPushButton, "OK", 245, 95, 50, 14, G | TS},
    {IDC_STATIC, K::Picture, "", 0, 0, 300, 30, 0, IDB_ABOUT},
};

constexpr ControlTemplate kLaunchOptions[] = {
    {IDOK, K::DefPushButton, "OK", 250, 5, 50, 14, TS},
    {IDCANCEL, K::PushButton, "Cancel", 250, 22, 50, 14, TS},
    {IDC_STATIC, K::GroupBox, "Independence War folders (include trailing backslash!)", 5, 5, 235, 60, 0},
    {IDC_F_IWAR, K::Edit, "", 10, 25, 225, 12, EditStyle},
    {IDC_STATIC, K::Label, "Independence War:", 10, 15, 225, 10, 0},
    {IDC_STATIC, K::Label, "Independence War - Defiance:", 10, 40, 225, 10, 0},
    {IDC_F_DEFI, K::Edit, "", 10, 50, 225, 12, EditStyle},
    {IDC_STATIC, K::GroupBox, "Launch options", 5, 135, 295, 65, 0},
    {IDC_C_NOLOGOS, K::CheckBox, "No logos on startup", 10, 145, 100, 10, TS},
    {IDC_C_NOSLAB, K::CheckBox, "Run with deslabbed files", 10, 155, 100, 10, TS},
    {IDC_C_POWERS, K::CheckBox, "Enable cheats", 10, 165, 100, 10, TS},
    {IDC_C_LAGRANGE, K::CheckBox, "Enable L-Point selection", 110, 145, 100, 10, TS},
    {IDC_C_NOZLOCK, K::CheckBox, "Fix 3Dfx screenshots", 10, 175, 100, 10, TS},
    {IDC_C_DIRECTOR, K::CheckBox, "Run in Director mode", 110, 160, 100, 10, TS},
    {IDC_C_NOHUD, K::CheckBox, "No HUD overlays", 110, 170, 100, 10, TS},
    {IDC_G_VIDEO, K::RadioButton, "Run in a window", 210, 145, 85, 10, G},
    {IDC_G_VIDEO_FULLSCREEN, K::RadioButton, "Fullscreen (default)", 210, 155, 85, 10, 0},
    {IDC_G_VIDEO_640, K::RadioButton, "3Dfx mode 640x480", 210, 165, 85, 10, 0},
    {IDC_G_VIDEO_800, K::RadioButton, "3Dfx mode 800x600", 210, 175, 85, 10, 0},
    {IDC_C_DEBUG, K::CheckBox, "Show Debug messages", 10, 185, 100, 10, TS},
    {IDC_C_CONSOLE, K::CheckBox, "Show Debug console", 110, 185, 100, 10, TS},
    {IDC_C_DISK, K::CheckBox, "Run from disk", 210, 185, 85, 10, TS},
    {IDC_STATIC, K::GroupBox, "Launch which version of Independence War?", 5, 205, 295, 25, 0},
    {IDC_G_GAME, K::RadioButton, "Independence War", 10, 215, 140, 10, G},
    {IDC_G_GAME_DEFI, K::RadioButton, "Independence War - Defiance", 155, 215, 140, 10, 0},
    {IDC_L_PATHCHECK, K::CheckBox, "Show warning about path names with spaces", 5, 234, 160, 10, TS},
    {IDC_STATIC, K::GroupBox, "Independence War executables (i.e. \"Game.exe\" w/o the quotes, no path)", 5, 70, 295,
     60, 0},
    {IDC_C_IWAR_EXE, K::Edit, "", 10, 90, 285, 12, EditStyle},
    {IDC_STATIC, K::Label, "Independence War:", 10, 80, 225, 10, 0},
    {IDC_STATIC, K::Label, "Independence War - Defiance:", 10, 105, 225, 10, 0},
    {IDC_C_DEFI_EXE, K::Edit, "", 10, 115, 285, 12, EditStyle},
};

constexpr ControlTemplate kSnippetLibrary[] = {
    {IDOK, K::DefPushButton, "Close", 205, 160, 50, 14, TS},
    {IDC_SNIPPET_LIST, K::ListBox, "", 5, 15, 250, 35, cs::Notify | cs::Sort | cs::VScroll | cs::Border | TS},
    {IDC_STATIC, K::Label, "Snippet List:", 5, 5, 145, 10, G},
    {IDC_STATIC, K::Label, "Snippet Description:", 5, 55, 145, 10, G},
    // A description longer than its box scrolls rather than being cut off.
    {IDC_SNIPPET_DESCRIPTION, K::Edit, "", 5, 65, 250, 20,
     cs::Multiline | cs::ReadOnly | cs::VScroll | cs::Border | TS},
    {IDC_STATIC, K::Label, "Snippet Code:", 5, 90, 145, 10, G},
    {IDC_SNIPPET_CODE, K::Edit, "", 5, 100, 250, 50,
     cs::Multiline | cs::ReadOnly | cs::AutoHScroll | cs::VScroll | cs::Border | TS},
    {IDC_REMOVE_SNIPPET, K::PushButton, "Remove", 5, 160, 50, 15, TS},
};

// Name, description, then the buttons: the tab order follows the typing, so
// that Tab from the name reaches the description and not OK, whose Space
// would end the dialog half-way through a description.
constexpr ControlTemplate kAddSnippet[] = {
    {IDC_STATIC, K::Label, "Snippet Name:", 5, 5, 145, 10, G},
    {IDC_ADD_NAME, K::Edit, "", 5, 15, 250, 12, EditStyle},
    {IDC_STATIC, K::Label, "Snippet Description:", 5, 30, 145, 10, G},
    {IDC_ADD_DESCRIPTION, K::Edit, "", 5, 41, 250, 20, cs::Multiline | cs::WantReturn | cs::Border | TS},
    {IDOK, K::DefPushButton, "OK", 150, 65, 50, 14, G | TS},
    {IDCANCEL, K::PushButton, "Cancel", 205, 65, 50, 14, TS},
};

constexpr DialogTemplate kAboutDlg{IDD_ABOUTBOX, "", 300, 110, false, "MS Sans Serif", 8, kAbout};
constexpr DialogTemplate kLaunchDlg{
    IDD_LAUNCH_OPTIONS, "Independence War Launch Options", 307, 246, true, "MS Sans Serif", 8, kLaunchOptions};
constexpr DialogTemplate kSnippetDlg{IDD_SNIPPET_LIBRARY, "Code Snippet Library", 262, 181, true, "MS Sans Serif", 8,
                                     kSnippetLibrary};
constexpr DialogTemplate kAddDlg{IDD_ADD_SNIPPET, "Add Code Snippet to Library", 262, 86, true, "MS Sans Serif", 8,
                                 kAddSnippet};

}  // namespace

const DialogTemplate& aboutTemplate() { return kAboutDlg; }
const DialogTemplate& launchOptionsTemplate() { return kLaunchDlg; }
const DialogTemplate& snippetLibraryTemplate() { return kSnippetDlg; }
const DialogTemplate& addSnippetTemplate() { return kAddDlg; }

}  // namespace res
