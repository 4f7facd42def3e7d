#include "editor/EditorSettings.h"

#include "platform/ProfileStore.h"
#include "resources/strings.h"

namespace {

bool readFlag(const ProfileStore& store, const QString& entry, bool defaultValue)
{
    return store.getInt(str::kSectionEditor, entry, defaultValue ? 1 : 0) != 0;
}

}  // namespace

void EditorSettings::read(const ProfileStore& store)
{
    const EditorSettings defaults;
    lineNumbers = readFlag(store, str::kEntryLineNumbers, defaults.lineNumbers);
    autoIndent = readFlag(store, str::kEntryAutoIndent, defaults.autoIndent);
    colourAsYouType = readFlag(store, str::kEntryColourAsYouType, defaults.colourAsYouType);
    debugOutput = readFlag(store, str::kEntryDebugOutput, defaults.debugOutput);
    openInTabs = readFlag(store, str::kEntryOpenInTabs, defaults.openInTabs);
    scriptHints = readFlag(store, str::kEntryScriptHints, defaults.scriptHints);
    outline = readFlag(store, str::kEntryOutline, defaults.outline);
}

bool EditorSettings::write(ProfileStore& store, const EditorSettings* before) const
{
    const QString section = str::kSectionEditor;
    const std::pair<QLatin1String, bool EditorSettings::*> flags[] = {
        {str::kEntryLineNumbers, &EditorSettings::lineNumbers},
        {str::kEntryAutoIndent, &EditorSettings::autoIndent},
        {str::kEntryColourAsYouType, &EditorSettings::colourAsYouType},
        {str::kEntryDebugOutput, &EditorSettings::debugOutput},
        {str::kEntryOutline, &EditorSettings::outline},
        {str::kEntryOpenInTabs, &EditorSettings::openInTabs},
        {str::kEntryScriptHints, &EditorSettings::scriptHints},
    };
    store.beginBatch();
    for (const auto& [entry, flag] : flags) {
        if (!before || before->*flag != this->*flag)
            store.writeInt(section, entry, this->*flag ? 1 : 0);
    }
    return store.commitBatch();
}
