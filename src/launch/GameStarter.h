// Starts the game a launch plan describes, without waiting for it.
#pragma once

#include "launch/LaunchPlan.h"

#include <QString>

namespace launch {

// Starts plan.executable in plan.directory with plan.parameters. On Windows
// the game gets the parameter text as its one command line; elsewhere the
// text is split at blanks into arguments (the script argument holds none),
// and a Windows executable runs through the "wine" found on the PATH.
// Answers an empty string when the process started, otherwise the text that
// tells the user what could not be started and why.
QString startGame(const LaunchPlan& plan);

}  // namespace launch
