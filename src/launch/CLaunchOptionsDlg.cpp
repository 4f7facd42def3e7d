#include "launch/CLaunchOptionsDlg.h"

#include "resources/dialogs.h"
#include "resources/ids.h"

namespace {

using launch::LaunchSettings;

// Each control and the setting it shows. Check boxes hold 0 or 1, radio
// groups (by their first button) the index of the ticked button or -1.
struct IntControl {
    int id;
    int LaunchSettings::*field;
};
struct TextControl {
    int id;
    QString LaunchSettings::*field;
};

constexpr IntControl kCheckBoxes[] = {
    {ids::IDC_C_CONSOLE, &LaunchSettings::c_console},     {ids::IDC_C_DEBUG, &LaunchSettings::c_debug},
    {ids::IDC_C_DIRECTOR, &LaunchSettings::c_director},   {ids::IDC_C_DISK, &LaunchSettings::c_disk},
    {ids::IDC_C_LAGRANGE, &LaunchSettings::c_lagrange},   {ids::IDC_C_NOHUD, &LaunchSettings::c_nohud},
    {ids::IDC_C_NOLOGOS, &LaunchSettings::c_nologos},     {ids::IDC_C_NOSLAB, &LaunchSettings::c_noslab},
    {ids::IDC_C_NOZLOCK, &LaunchSettings::c_nozlock},     {ids::IDC_C_POWERS, &LaunchSettings::c_powers},
    {ids::IDC_L_PATHCHECK, &LaunchSettings::l_pathcheck},
};
constexpr IntControl kRadioGroups[] = {
    {ids::IDC_G_GAME, &LaunchSettings::g_game},
    {ids::IDC_G_VIDEO, &LaunchSettings::g_video},
};
constexpr TextControl kEdits[] = {
    {ids::IDC_F_IWAR, &LaunchSettings::f_iwar},
    {ids::IDC_F_DEFI, &LaunchSettings::f_defi},
    {ids::IDC_C_IWAR_EXE, &LaunchSettings::c_iwar_exe},
    {ids::IDC_C_DEFI_EXE, &LaunchSettings::c_defi_exe},
};

}  // namespace

CLaunchOptionsDlg::CLaunchOptionsDlg(QWidget* parent) : TemplateDialog(res::launchOptionsTemplate(), parent) {}

CLaunchOptionsDlg::~CLaunchOptionsDlg() = default;

void CLaunchOptionsDlg::DoDataExchange(bool save)
{
    TemplateDialog::DoDataExchange(save);
    for (const IntControl& c : kCheckBoxes)
        DDX_Check(save, c.id, m_settings.*c.field);
    for (const IntControl& c : kRadioGroups)
        DDX_Radio(save, c.id, m_settings.*c.field);
    for (const TextControl& c : kEdits)
        DDX_Text(save, c.id, m_settings.*c.field);
}
