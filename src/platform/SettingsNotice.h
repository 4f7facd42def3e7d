// Tells the user that a change of settings could not be stored: once per kind
// of setting (colours, launch options, snippets, ...) for as long as it lives,
// which is the run of the editor, not once per write.
#pragma once

#include <QPointer>
#include <QSet>
#include <QString>

class ProfileStore;
class QWidget;

class SettingsNotice {
public:
    // Listens to store's failed writes; messages stand over parent.
    SettingsNotice(ProfileStore& store, QWidget* parent);
    ~SettingsNotice();
    SettingsNotice(const SettingsNotice&) = delete;
    SettingsNotice& operator=(const SettingsNotice&) = delete;

private:
    ProfileStore& m_store;
    QPointer<QWidget> m_parent;
    QSet<QString> m_told;  // the sections already told of
};
