// Help > About: a picture and OK, without a title bar.
#pragma once

#include "platform/DialogBuilder.h"

class QLabel;

class CAboutDlg : public TemplateDialog {
    Q_OBJECT
public:
    // Without a parent the box belongs to the active window of the program.
    explicit CAboutDlg(QWidget* parent = nullptr);

    // The picture control (bitmap 133).
    QLabel* picture() const { return m_picture; }

private:
    QLabel* m_picture = nullptr;
};
