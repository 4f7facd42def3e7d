// The colour dialog of the six Options > Syntax Highlighting Colours commands.
#pragma once

#include "editor/SyntaxColours.h"

#include <optional>

class QWidget;

namespace colourdialog {

// Asks for the colour of one class, starting from current, with the six
// built-in colours offered first as custom colours. Nothing when cancelled.
std::optional<ColourRef> ChooseSyntaxColour(QWidget* parent, const SyntaxColours::Row& row, ColourRef current);

}  // namespace colourdialog
