#include "snippets/BasicTemplate.h"

namespace BasicTemplate {
QString text() { return QString(); }
}  // namespace BasicTemplate
