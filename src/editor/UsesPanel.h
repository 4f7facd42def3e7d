// The lines that use a label, listed under the script: each names its file
// and line and shows the line's text. Enter or a double-click goes there;
// Escape goes back to the script.
#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;

class UsesPanel : public QWidget {
    Q_OBJECT
public:
    struct Place {
        QString path;  // empty: the script that asked, which has no file yet
        QString file;  // as shown
        int line = 0;  // 0-based
        QString text;
        bool operator==(const Place&) const = default;
    };

    explicit UsesPanel(QWidget* parent = nullptr);

    // Shows the uses of label, and the panel with them.
    void showUses(const QString& label, const QList<Place>& places);
    QList<Place> places() const { return m_places; }
    QListWidget* list() const { return m_list; }

signals:
    void placeChosen(const UsesPanel::Place& place);
    void leaveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(QListWidgetItem* item);

    QLabel* m_heading;
    QListWidget* m_list;
    QList<Place> m_places;
};
