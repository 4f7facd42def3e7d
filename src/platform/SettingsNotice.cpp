#include "platform/SettingsNotice.h"

#include "platform/MessageBox.h"
#include "platform/ProfileStore.h"
#include "resources/strings.h"

#include <QDir>
#include <QWidget>

namespace {

QString settingName(const QString& section)
{
    const std::pair<QLatin1String, QLatin1String> names[] = {
        {str::kSectionColours, str::kSettingColours},   {str::kSectionLaunch, str::kSettingLaunch},
        {str::kSectionSnippets, str::kSettingSnippets}, {str::kSectionRecentFiles, str::kSettingRecentFiles},
        {str::kSectionEditor, str::kSettingEditor},
    };
    for (const auto& [s, name] : names) {
        if (section == s)
            return name;
    }
    return QString(str::kSettingOther).arg(section);
}

// The notice that listens now: a window made before another one goes leaves
// the newer one listening.
const SettingsNotice* listening = nullptr;

}  // namespace

SettingsNotice::SettingsNotice(ProfileStore& store, QWidget* parent) : m_store(store), m_parent(parent)
{
    listening = this;
    m_store.setFailureReporter([this](const ProfileStore::Failure& failure) {
        for (const QString& section : failure.sections) {
            if (m_told.contains(section))
                continue;
            m_told.insert(section);
            mb::show(m_parent,
                     QString(str::kSettingsNotStored)
                         .arg(settingName(section), QDir::toNativeSeparators(failure.filePath), failure.reason),
                     str::kCaptionError, mb::MB_OK | mb::MB_ICONEXCLAMATION);
        }
    });
}

SettingsNotice::~SettingsNotice()
{
    if (listening != this)
        return;
    listening = nullptr;
    m_store.setFailureReporter({});
}
