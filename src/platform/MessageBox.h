// Modal message boxes built from a text, a caption and MB_ flags, answering
// IDOK, IDCANCEL, IDYES or IDNO. Tests install an answerer that records each
// box and answers it instead of showing it.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace mb {

inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned kButtonMask = 0xF;
inline constexpr unsigned kIconMask = 0xF0;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

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
