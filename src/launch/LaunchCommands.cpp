#include "launch/LaunchCommands.h"

namespace launch {

void OnLaunchOptions(QWidget*) {}
void OnLaunchScript(QWidget*, const QString&, bool) {}
void OnOpenDebugFile(QWidget*) {}
void OnClearDebugFile(QWidget*) {}

}  // namespace launch
