// Modal message boxes built from a text, a caption and MB_ flags, answering
// IDOK, IDCANCEL, IDYES or IDNO. Tests install an answerer that records each
// box and answers it instead of showing it.
#pragma once

#include "platform/MessageFlags.h"

#include <QString>

#include <functional>

class QWidget;

namespace mb {

struct Box {
    QString text;
    QString caption;
    unsigned flags = 0;
};

using Answerer = std::function<int(const Box&)>;

// Shows the box modally over parent (the active window when null) and returns
// the button that closed it. Closing with Escape or the close box answers
// IDCANCEL, or IDNO for a Yes/No box.
int show(QWidget* parent, const QString& text, const QString& caption, unsigned flags);

// Replaces the dialog by a function; an empty function restores it.
void setAnswerer(Answerer answerer);

}  // namespace mb
