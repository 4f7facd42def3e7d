// The Launch Options dialog: exchanges the seventeen launch settings with
// the controls of template 131 and does nothing else. Nothing is validated,
// so OK always succeeds.
#pragma once

#include "launch/LaunchSettings.h"
#include "platform/DialogBuilder.h"

#include <QString>

class CLaunchOptionsDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CLaunchOptionsDlg(QWidget* parent = nullptr);
    ~CLaunchOptionsDlg() override;

    // The members as one set of settings, and back.
    void setSettings(const launch::LaunchSettings& settings);
    launch::LaunchSettings settings() const;

    // One member per launch setting, named after its entry. Check boxes hold
    // 0 or 1, radio groups the index of the ticked button or -1.
    int c_console = 0;
    int c_debug = 0;
    int c_director = 0;
    int c_disk = 0;
    int c_lagrange = 0;
    int c_nohud = 0;
    int c_nologos = 0;
    int c_noslab = 0;
    int c_nozlock = 0;
    int c_powers = 0;
    QString f_defi;
    QString f_iwar;
    int g_game = -1;
    int g_video = -1;
    int l_pathcheck = 0;
    QString c_iwar_exe;
    QString c_defi_exe;

protected:
    void DoDataExchange(bool save) override;
};
