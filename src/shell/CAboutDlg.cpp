#include "shell/CAboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : TemplateDialog(res::aboutTemplate(), parent) {}
