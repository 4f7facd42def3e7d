// The launch and debug-output commands as the view and the frame run them.
#pragma once

#include <QString>

class QWidget;

namespace launch {

// Options > Launch Options...: edits the launch settings; writes them on OK.
void OnLaunchOptions(QWidget* owner);
// Script > Launch script: starts the chosen game on the saved script.
void OnLaunchScript(QWidget* owner, const QString& pathName, bool modified);
// Script > Open debug output file / Clear debug output file.
void OnOpenDebugFile(QWidget* frame);
void OnClearDebugFile(QWidget* frame);

}  // namespace launch
