// Help > About: a picture and OK, without a title bar.
#pragma once

#include "platform/DialogBuilder.h"

class CAboutDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
