// The per-user base folders of the XDG conventions, read from the
// environment as it is now (not through Qt's cache), so that the place
// follows XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_STATE_HOME as they are set.
#pragma once

#include <QString>

namespace xdg {

QString configHome();  // $XDG_CONFIG_HOME, default ~/.config
QString dataHome();    // $XDG_DATA_HOME, default ~/.local/share
QString stateHome();   // $XDG_STATE_HOME, default ~/.local/state

}  // namespace xdg
