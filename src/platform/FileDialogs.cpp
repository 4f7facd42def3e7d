#include "platform/FileDialogs.h"

#include "platform/Answerer.h"

#include <QFileDialog>

namespace filedlg {
using Dialogs = ::Answerer<Request, QString>;

void setAnswerer(Answerer a) { Dialogs::install(std::move(a)); }

QString getOpenFileName(QWidget* parent, const QString& proposed, const QString& filter)
{
    const questions::Open asking;
    if (Dialogs::installed())
        return Dialogs::ask(Request{false, QString(), proposed, filter});
    return QFileDialog::getOpenFileName(parent, QString(), proposed, filter);
}

QString getSaveFileName(QWidget* parent, const QString& proposed, const QString& filter, const QString& defaultSuffix)
{
    const questions::Open asking;
    if (Dialogs::installed())
        return Dialogs::ask(Request{true, QString(), proposed, filter});
    QFileDialog dialog(parent, QString(), proposed, filter);
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
