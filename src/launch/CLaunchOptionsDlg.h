// The Launch Options dialog: exchanges the seventeen launch settings with
// the controls of template 131 and does nothing else. Nothing is validated,
// so OK always succeeds.
#pragma once

#include "launch/LaunchSettings.h"
#include "platform/DialogBuilder.h"

class CLaunchOptionsDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CLaunchOptionsDlg(QWidget* parent = nullptr);
    ~CLaunchOptionsDlg() override;

    // What the controls show when the dialog runs, and what OK left in them.
    void setSettings(const launch::LaunchSettings& settings) { m_settings = settings; }
    const launch::LaunchSettings& settings() const { return m_settings; }

protected:
    void DoDataExchange(bool save) override;

private:
    launch::LaunchSettings m_settings;
};
