#include "platform/FileDialogs.h"

#include "platform/Answerer.h"

#include <QFileDialog>

namespace filedlg {
using Dialogs = ::Answerer<Request, QString>;

namespace {

// A type's patterns are listed with ";" as Windows writes them; Qt's dialog
// takes them apart at blanks only, and would match none of them.
QString qtFilter(const QString& filter)
{
    QStringList types = filter.split(QLatin1String(";;"));
    for (QString& type : types) {
        const qsizetype open = type.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && type.endsWith(QLatin1Char(')')))
            type = type.left(open) + type.mid(open).replace(QLatin1Char(';'), QLatin1Char(' '));
    }
    return types.join(QLatin1String(";;"));
}

}  // namespace

void setAnswerer(Answerer a) { Dialogs::install(std::move(a)); }

QString getOpenFileName(QWidget* parent, const QString& proposed, const QString& filter)
{
    const questions::Open asking;
    if (Dialogs::installed())
        return Dialogs::ask(Request{false, QString(), proposed, filter});
    return QFileDialog::getOpenFileName(parent, QString(), proposed, qtFilter(filter));
}

QString getSaveFileName(QWidget* parent, const QString& proposed, const QString& filter, const QString& defaultSuffix)
{
    const questions::Open asking;
    if (Dialogs::installed())
        return Dialogs::ask(Request{true, QString(), proposed, filter});
    QFileDialog dialog(parent, QString(), proposed, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

}  // namespace filedlg
