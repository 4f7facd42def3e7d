// Makes script files known to the desktop: on Linux a shared-mime-info type
// for *.iws, its icon and a desktop entry that opens scripts with this
// program, all under $XDG_DATA_HOME; on Windows the file type's icon value.
#pragma once

#include <QString>

namespace DesktopIntegration {

// The texts written, for the given executable.
QString mimeXml();
QString desktopEntry(const QString& executable);

// Writes each file only when it differs from what is there. Failures are
// ignored: the editor works without them. Returns the number of files written.
int registerFileType(const QString& executable);

}  // namespace DesktopIntegration
