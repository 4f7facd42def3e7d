#include "platform/MessageBox.h"

#include "platform/Answerer.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace mb {
using Boxes = ::Answerer<Box, int>;

void setAnswerer(Answerer a) { Boxes::install(std::move(a)); }

namespace {

struct Choice {
    QMessageBox::StandardButton button;
    int result;
};

// The buttons of a box, left to right, and what each answers. The last one
// is also the answer of Escape and the close box.
QList<Choice> choicesFor(unsigned flags)
{
    switch (flags & kButtonMask) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

QMessageBox::Icon iconFor(unsigned flags)
{
    switch (flags & kIconMask) {
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

}  // namespace

int show(QWidget* parent, const QString& text, const QString& caption, unsigned flags)
{
    const questions::Open asking;
    if (Boxes::installed())
        return Boxes::ask(Box{text, caption, flags});

    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(text);
    box.setIcon(iconFor(flags));
    const QList<Choice> choices = choicesFor(flags);
    for (const Choice& c : choices)
        box.addButton(c.button);
    const bool secondDefault = (flags & MB_DEFBUTTON2) && choices.size() > 1;
    box.setDefaultButton(choices[secondDefault ? 1 : 0].button);
    box.setEscapeButton(choices.last().button);

    box.exec();
    for (const Choice& c : choices) {
        if (box.clickedButton() == box.button(c.button))
            return c.result;
    }
    return choices.last().result;
}

}  // namespace mb
