#include "platform/XdgPaths.h"

#include <QDir>

namespace xdg {
namespace {

// A relative value does not count: the conventions ask for absolute paths.
QString baseFolder(const char* variable, QLatin1String underHome)
{
    const QString base = qEnvironmentVariable(variable);
    return base.isEmpty() || !QDir::isAbsolutePath(base) ? QDir::homePath() + underHome : base;
}

}  // namespace

QString configHome() { return baseFolder("XDG_CONFIG_HOME", QLatin1String("/.config")); }
QString dataHome() { return baseFolder("XDG_DATA_HOME", QLatin1String("/.local/share")); }
QString stateHome() { return baseFolder("XDG_STATE_HOME", QLatin1String("/.local/state")); }

}  // namespace xdg
