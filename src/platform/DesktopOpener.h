// Files handed to the desktop to be shown with the user's program for them:
// the game's debug.txt, the help page. The desktop's opener can fail long
// after it started (no program for the type, a program that will not start);
// the user hears of it, with the file named, not only standard error.
#pragma once

#include <QLatin1String>
#include <QString>

class QWidget;

namespace desktop {

// Shows the file with the desktop's program for it, without waiting for
// that program. When there is no opener, or the opener ends in failure, a
// message over parent (while it exists) says so: failedText with %1 for the
// file's path.
void openFile(QWidget* parent, const QString& path, QLatin1String failedText);

}  // namespace desktop
