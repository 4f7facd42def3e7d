#include "platform/MessageBox.h"

#include "platform/Answerer.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace mb {
using Boxes = ::Answerer<Box, int>;

void setAnswerer(Answerer a) { Boxes::install(std::move(a)); }

int show(QWidget* parent, const QString& text, const QString& caption, unsigned flags)
{
    if (Boxes::installed())
        return Boxes::ask(Box{text, caption, flags});

    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setText(text);
    switch (flags & kIconMask) {
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }

    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    Choice choices[3] = {{QMessageBox::Ok, IDOK}, {QMessageBox::NoButton, 0}, {QMessageBox::NoButton, 0}};
    int escapeResult = IDOK;
    switch (flags & kButtonMask) {
    case MB_OKCANCEL:
        choices[0] = {QMessageBox::Ok, IDOK};
        choices[1] = {QMessageBox::Cancel, IDCANCEL};
        escapeResult = IDCANCEL;
        break;
    case MB_YESNO:
        choices[0] = {QMessageBox::Yes, IDYES};
        choices[1] = {QMessageBox::No, IDNO};
        escapeResult = IDNO;
        break;
    case MB_YESNOCANCEL:
        choices[0] = {QMessageBox::Yes, IDYES};
        choices[1] = {QMessageBox::No, IDNO};
        choices[2] = {QMessageBox::Cancel, IDCANCEL};
        escapeResult = IDCANCEL;
        break;
    default:
        break;
    }
    for (const Choice& c : choices) {
        if (c.button != QMessageBox::NoButton)
            box.addButton(c.button);
    }
    const bool secondDefault = (flags & MB_DEFBUTTON2) && choices[1].button != QMessageBox::NoButton;
    box.setDefaultButton(secondDefault ? choices[1].button : choices[0].button);
    const Choice& escape = choices[2].button != QMessageBox::NoButton   ? choices[2]
                           : choices[1].button != QMessageBox::NoButton ? choices[1]
                                                                        : choices[0];
    box.setEscapeButton(escape.button);

    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const Choice& c : choices) {
        if (c.button != QMessageBox::NoButton && clicked == box.button(c.button))
            return c.result;
    }
    return escapeResult;
}

}  // namespace mb
