#include "launch/CLaunchOptionsDlg.h"

#include "resources/dialogs.h"
#include "resources/ids.h"

CLaunchOptionsDlg::CLaunchOptionsDlg(QWidget* parent) : TemplateDialog(res::launchOptionsTemplate(), parent) {}

CLaunchOptionsDlg::~CLaunchOptionsDlg() = default;

void CLaunchOptionsDlg::DoDataExchange(bool save)
{
    TemplateDialog::DoDataExchange(save);
    DDX_Check(save, ids::IDC_C_CONSOLE, c_console);
    DDX_Check(save, ids::IDC_C_DEBUG, c_debug);
    DDX_Check(save, ids::IDC_C_DIRECTOR, c_director);
    DDX_Check(save, ids::IDC_C_DISK, c_disk);
    DDX_Check(save, ids::IDC_C_LAGRANGE, c_lagrange);
    DDX_Check(save, ids::IDC_C_NOHUD, c_nohud);
    DDX_Check(save, ids::IDC_C_NOLOGOS, c_nologos);
    DDX_Check(save, ids::IDC_C_NOSLAB, c_noslab);
    DDX_Check(save, ids::IDC_C_NOZLOCK, c_nozlock);
    DDX_Check(save, ids::IDC_C_POWERS, c_powers);
    DDX_Text(save, ids::IDC_F_DEFI, f_defi);
    DDX_Text(save, ids::IDC_F_IWAR, f_iwar);
    DDX_Radio(save, ids::IDC_G_GAME, g_game);
    DDX_Radio(save, ids::IDC_G_VIDEO, g_video);
    DDX_Check(save, ids::IDC_L_PATHCHECK, l_pathcheck);
    DDX_Text(save, ids::IDC_C_IWAR_EXE, c_iwar_exe);
    DDX_Text(save, ids::IDC_C_DEFI_EXE, c_defi_exe);
}

void CLaunchOptionsDlg::setSettings(const launch::LaunchSettings& s)
{
    c_console = s.c_console;
    c_debug = s.c_debug;
    c_director = s.c_director;
    c_disk = s.c_disk;
    c_lagrange = s.c_lagrange;
    c_nohud = s.c_nohud;
    c_nologos = s.c_nologos;
    c_noslab = s.c_noslab;
    c_nozlock = s.c_nozlock;
    c_powers = s.c_powers;
    f_defi = s.f_defi;
    f_iwar = s.f_iwar;
    g_game = s.g_game;
    g_video = s.g_video;
    l_pathcheck = s.l_pathcheck;
    c_iwar_exe = s.c_iwar_exe;
    c_defi_exe = s.c_defi_exe;
}

launch::LaunchSettings CLaunchOptionsDlg::settings() const
{
    launch::LaunchSettings s;
    s.c_console = c_console;
    s.c_debug = c_debug;
    s.c_director = c_director;
    s.c_disk = c_disk;
    s.c_lagrange = c_lagrange;
    s.c_nohud = c_nohud;
    s.c_nologos = c_nologos;
    s.c_noslab = c_noslab;
    s.c_nozlock = c_nozlock;
    s.c_powers = c_powers;
    s.f_defi = f_defi;
    s.f_iwar = f_iwar;
    s.g_game = g_game;
    s.g_video = g_video;
    s.l_pathcheck = l_pathcheck;
    s.c_iwar_exe = c_iwar_exe;
    s.c_defi_exe = c_defi_exe;
    return s;
}
