#include "editor/ColourDialog.h"

#include "editor/QtColours.h"
#include "resources/strings.h"

#include <QColorDialog>

namespace colourdialog {

std::optional<ColourRef> ChooseSyntaxColour(QWidget* parent, const SyntaxColours::Row& row, ColourRef current)
{
    // Qt keeps custom colours for the whole process: every open starts from
    // the six built-in colours and empty slots, whatever was added last time.
    const auto rows = SyntaxColours::rows();
    for (int i = 0; i < QColorDialog::customCount(); ++i) {
        const bool builtIn = i < int(rows.size());
        QColorDialog::setCustomColor(
            i, builtIn ? toQColor(SyntaxColours::defaultFor(rows[std::size_t(i)])) : QColor(Qt::white));
    }
    QColorDialog dialog(toQColor(current), parent);
    dialog.setObjectName(QStringLiteral("colourDialog"));
    dialog.setWindowTitle(QString(str::kColourDialogCaption).arg(row.entry));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return fromQColor(dialog.selectedColor());
}

}  // namespace colourdialog
