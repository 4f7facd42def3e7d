#include "editor/GoToLineDlg.h"

#include "editor/ScriptEditControl.h"
#include "resources/strings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

GoToLineDlg::GoToLineDlg(int current, int lineCount, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("goToLineDialog"));
    setWindowTitle(str::kGoToLineCaption);
    auto* label = new QLabel(QString(str::kGoToLineLabel).arg(lineCount), this);
    m_line = new QSpinBox(this);
    m_line->setRange(1, std::max(1, lineCount));
    m_line->setValue(current);
    m_line->setAccelerated(true);
    label->setBuddy(m_line);

    auto* ok = new QPushButton(str::kOkButton, this);
    auto* cancel = new QPushButton(str::kCancelButton, this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_line);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Typing a number replaces the one offered.
    m_line->selectAll();
    m_line->setFocus();
}

int GoToLineDlg::line() const { return m_line->value(); }

bool GoToLineDlg::run(ScriptEditControl* edit)
{
    const int current = edit->lineFromChar(edit->textCursor().position()) + 1;
    GoToLineDlg dialog(current, edit->lineCount(), edit->window());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    edit->goToLine(dialog.line());
    return true;
}
