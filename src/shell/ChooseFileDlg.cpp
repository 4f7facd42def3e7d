#include "shell/ChooseFileDlg.h"

#include "resources/strings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

ChooseFileDlg::ChooseFileDlg(const QString& name, const QStringList& paths, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_paths(paths)
{
    setObjectName(QStringLiteral("chooseFileDialog"));
    setWindowTitle(str::kChooseFileCaption);
    auto* label = new QLabel(QString(str::kChooseFileLabel).arg(name), this);
    label->setBuddy(m_list);
    for (const QString& path : paths) {
        auto* item = new QListWidgetItem(QFileInfo(path).fileName(), m_list);
        item->setToolTip(QDir::toNativeSeparators(path));
    }
    m_list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemActivated, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    m_list->setFocus();
}

QString ChooseFileDlg::chosen() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < m_paths.size() ? m_paths[row] : QString();
}

QString ChooseFileDlg::choose(const QString& name, const QStringList& paths, QWidget* parent)
{
    ChooseFileDlg dlg(name, paths, parent);
    return dlg.exec() == QDialog::Accepted ? dlg.chosen() : QString();
}
