// The mission skeleton of Script > Create Basic Script.
#pragma once

#include <QString>

namespace BasicTemplate {
// The template text: lines end in "\n" only.
QString text();
}  // namespace BasicTemplate
