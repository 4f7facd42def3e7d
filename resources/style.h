// How script text looks wherever it is shown: the editor, the snippet
// library's code field, the debug output panel and exported pages.
#pragma once

#include <QLatin1String>

namespace res {

// Tab stops every this many characters.
inline constexpr int kTabWidth = 6;
// The fixed-pitch font of script text, and its size in points.
inline constexpr QLatin1String kScriptFontFamily("Courier New");
inline constexpr int kScriptFontPoints = 10;

}  // namespace res
