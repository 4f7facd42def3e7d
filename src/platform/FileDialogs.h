// The Open and Save As dialogs. Tests install an answerer that returns the
// chosen path (empty for Cancel) instead of showing them.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace filedlg {

struct Request {
    bool save = false;
    QString caption;
    QString proposed;  // folder or file name to start from
    QString filter;
};

using Answerer = std::function<QString(const Request&)>;
void setAnswerer(Answerer answerer);

// The chosen file, or an empty string when the user cancelled.
QString getOpenFileName(QWidget* parent, const QString& proposed, const QString& filter);
QString getSaveFileName(QWidget* parent, const QString& proposed, const QString& filter, const QString& defaultSuffix);

}  // namespace filedlg
