#include "launch/LaunchSettings.h"

#include "platform/ProfileStore.h"
#include "resources/strings.h"

namespace launch {
namespace {

// The entries in their write order, bound to the fields that hold them.
struct IntEntry {
    const char* name;
    int LaunchSettings::*field;
};
struct StringEntry {
    const char* name;
    QString LaunchSettings::*field;
};

constexpr IntEntry kSwitchEntries[] = {
    {"c_console", &LaunchSettings::c_console},   {"c_debug", &LaunchSettings::c_debug},
    {"c_director", &LaunchSettings::c_director}, {"c_disk", &LaunchSettings::c_disk},
    {"c_lagrange", &LaunchSettings::c_lagrange}, {"c_nohud", &LaunchSettings::c_nohud},
    {"c_nologos", &LaunchSettings::c_nologos},   {"c_noslab", &LaunchSettings::c_noslab},
    {"c_nozlock", &LaunchSettings::c_nozlock},   {"c_powers", &LaunchSettings::c_powers},
};
constexpr StringEntry kStringEntries[] = {
    {"f_iwar", &LaunchSettings::f_iwar},
    {"f_defi", &LaunchSettings::f_defi},
    {"c_iwar_exe", &LaunchSettings::c_iwar_exe},
    {"c_defi_exe", &LaunchSettings::c_defi_exe},
};
constexpr IntEntry kChoiceEntries[] = {
    {"g_game", &LaunchSettings::g_game},
    {"g_video", &LaunchSettings::g_video},
    {"l_pathcheck", &LaunchSettings::l_pathcheck},
};

// The switch of each check box, in the order the game is given them (which is
// also the order of kSwitchEntries).
constexpr const char* kSwitchTexts[] = {"-console ", "-debug ",   "-director ", "-disk ",    "-lagrange ",
                                        "-nohud ",   "-nologos ", "-noslab ",   "-nozlock ", "-powers "};
static_assert(std::size(kSwitchTexts) == std::size(kSwitchEntries));

}  // namespace

LaunchSettings LaunchSettings::dialogDefaults()
{
    LaunchSettings s;
    s.c_lagrange = 1;
    s.c_nologos = 1;
    s.c_powers = 1;
    return s;
}

LaunchSettings LaunchSettings::launchDefaults() { return LaunchSettings(); }

LaunchSettings LaunchSettings::read(const ProfileStore& store, const LaunchSettings& defaults)
{
    const QString section(str::kSectionLaunch);
    LaunchSettings s = defaults;
    for (const IntEntry& e : kSwitchEntries)
        s.*e.field = store.getInt(section, QLatin1String(e.name), defaults.*e.field);
    for (const StringEntry& e : kStringEntries)
        s.*e.field = store.getString(section, QLatin1String(e.name), defaults.*e.field);
    for (const IntEntry& e : kChoiceEntries)
        s.*e.field = store.getInt(section, QLatin1String(e.name), defaults.*e.field);
    return s;
}

bool LaunchSettings::write(ProfileStore& store, const LaunchSettings* shown) const
{
    const QString section(str::kSectionLaunch);
    const auto wanted = [&](const char* name, auto field) {
        return !shown || shown->*field != this->*field || !store.contains(section, QLatin1String(name));
    };
    store.beginBatch();
    for (const IntEntry& e : kSwitchEntries) {
        if (wanted(e.name, e.field))
            store.writeInt(section, QLatin1String(e.name), this->*e.field);
    }
    for (const StringEntry& e : kStringEntries) {
        // A null string would delete the entry; an empty field is stored empty.
        const QString& value = this->*e.field;
        if (wanted(e.name, e.field))
            store.writeString(section, QLatin1String(e.name), value.isNull() ? QString(QLatin1String("")) : value);
    }
    for (const IntEntry& e : kChoiceEntries) {
        if (wanted(e.name, e.field))
            store.writeInt(section, QLatin1String(e.name), this->*e.field);
    }
    return store.commitBatch();
}

QString BuildGameSwitches(const LaunchSettings& settings)
{
    QString text;
    switch (settings.g_video) {
    case 0:
        text += QLatin1String("-window ");
        break;
    case 2:
        text += QLatin1String("-b -16 ");
        break;
    case 3:
        text += QLatin1String("-b -16 -800x600 ");
        break;
    default:  // 1 (fullscreen) and anything unknown: the game's own default
        break;
    }
    for (std::size_t i = 0; i < std::size(kSwitchEntries); ++i) {
        if (settings.*kSwitchEntries[i].field != 0)
            text += QLatin1String(kSwitchTexts[i]);
    }
    return text;
}

}  // namespace launch
