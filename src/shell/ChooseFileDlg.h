// A short list of files to choose one from, as a name with wildcards can
// match several: Up, Down and Enter choose, as does a double-click.
#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

class ChooseFileDlg : public QDialog {
    Q_OBJECT
public:
    // paths are shown by their file names; name is what was looked for.
    ChooseFileDlg(const QString& name, const QStringList& paths, QWidget* parent);

    // The chosen path, empty when the user cancelled.
    static QString choose(const QString& name, const QStringList& paths, QWidget* parent);

    QString chosen() const;

private:
    QListWidget* m_list;
    QStringList m_paths;
};
