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
    scriptHints = readFlag(store, str::kEntryScriptHints, defaults.scriptHints);
    outline = readFlag(store, str::kEntryOutline, defaults.outline);
}

bool EditorSettings::write(ProfileStore& store) const
{
    const QString section = str::kSectionEditor;
    store.beginBatch();
    store.writeInt(section, str::kEntryLineNumbers, lineNumbers ? 1 : 0);
    store.writeInt(section, str::kEntryAutoIndent, autoIndent ? 1 : 0);
    store.writeInt(section, str::kEntryColourAsYouType, colourAsYouType ? 1 : 0);
    store.writeInt(section, str::kEntryDebugOutput, debugOutput ? 1 : 0);
    store.writeInt(section, str::kEntryScriptHints, scriptHints ? 1 : 0);
    store.writeInt(section, str::kEntryOutline, outline ? 1 : 0);
    return store.commitBatch();
}
