// The flags that describe a message box (buttons, icon, default button) and
// the answers it gives. Plain numbers, so that rules which only decide what
// to tell the user can say it without any window code.
#pragma once

#include "resources/ids.h"

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

// The answers; OK and Cancel are the ids of the dialogs' own buttons.
inline constexpr int IDOK = ids::IDOK;
inline constexpr int IDCANCEL = ids::IDCANCEL;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

}  // namespace mb
