// Dialog templates: each dialog's caption, size and controls in dialog units,
// in template order (which is also the tab order).
#pragma once

#include <span>

namespace res {

enum class ControlKind {
    DefPushButton,  // default push button
    PushButton,
    GroupBox,
    Label,    // static text
    Picture,  // static bitmap; text holds nothing, bitmapId the bitmap
    Edit,
    CheckBox,     // automatic check box
    RadioButton,  // automatic radio button
    ListBox,
};

// Style bits that matter to the builder.
namespace cs {
inline constexpr unsigned Group = 1u << 0;        // starts a group (WS_GROUP)
inline constexpr unsigned TabStop = 1u << 1;      // WS_TABSTOP
inline constexpr unsigned Multiline = 1u << 2;    // ES_MULTILINE
inline constexpr unsigned ReadOnly = 1u << 3;     // ES_READONLY
inline constexpr unsigned WantReturn = 1u << 4;   // ES_WANTRETURN
inline constexpr unsigned AutoHScroll = 1u << 5;  // ES_AUTOHSCROLL: lines do not wrap
inline constexpr unsigned VScroll = 1u << 6;      // WS_VSCROLL
inline constexpr unsigned Border = 1u << 7;       // WS_BORDER
inline constexpr unsigned Sort = 1u << 8;         // LBS_SORT
inline constexpr unsigned Notify = 1u << 9;       // LBS_NOTIFY
}  // namespace cs

struct ControlTemplate {
    int id;  // -1 for controls without an id of their own
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;  // dialog units
    unsigned style;
    int bitmapId = 0;  // Picture only
};

struct DialogTemplate {
    int id;
    const char* caption;  // nullptr or "" for no caption
    int cx, cy;           // dialog units
    bool titleBar;        // caption and system menu
    const char* fontFace;
    int fontPoints;
    std::span<const ControlTemplate> controls;
};

const DialogTemplate& aboutTemplate();           // 100
const DialogTemplate& launchOptionsTemplate();   // 131
const DialogTemplate& snippetLibraryTemplate();  // 132
const DialogTemplate& addSnippetTemplate();      // 133

}  // namespace res
