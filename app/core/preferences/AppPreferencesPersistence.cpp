#include "app/core/preferences/AppPreferencesPersistence.h"

#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

namespace quilla {
namespace {

constexpr std::string_view kRevealCreatedItems = "revealCreatedItems";
constexpr std::string_view kRevealActionResults = "revealActionResults";
constexpr std::string_view kLaunchAtLogin = "launchAtLogin";
constexpr std::string_view kNotifyOnActionFailure = "notifyOnActionFailure";

} // namespace

std::filesystem::path AppPreferencesPersistence::fileURL() {
    return paths::appSupportDir() / settings_files::kAppPreferences;
}

AppPreferences AppPreferencesPersistence::load() {
    return loadSaved().value_or(AppPreferences{});
}

std::optional<AppPreferences> AppPreferencesPersistence::loadSaved() {
    const auto root = plist::readFile(fileURL());
    if (!root) {
        return std::nullopt;
    }
    return decode(*root);
}

void AppPreferencesPersistence::save(const AppPreferences& preferences) {
    (void)writeFileAtomically(fileURL(), plist::toXML(encode(preferences)));
}

plist::Value AppPreferencesPersistence::encode(const AppPreferences& preferences) {
    return plist::Dict{
        {std::string(kRevealCreatedItems), preferences.revealCreatedItems},
        {std::string(kRevealActionResults), preferences.revealActionResults},
        {std::string(kLaunchAtLogin), preferences.launchAtLogin},
        {std::string(kNotifyOnActionFailure), preferences.notifyOnActionFailure},
    };
}

AppPreferences AppPreferencesPersistence::decode(const plist::Value& root) {
    AppPreferences result;
    const plist::Dict* dict = root.asDict();
    if (!dict) {
        return result;
    }
    // Each key falls back on its own, so one damaged value never resets the others.
    result.revealCreatedItems =
        plist::boolean(*dict, kRevealCreatedItems).value_or(result.revealCreatedItems);
    result.revealActionResults =
        plist::boolean(*dict, kRevealActionResults).value_or(result.revealActionResults);
    result.launchAtLogin = plist::boolean(*dict, kLaunchAtLogin).value_or(result.launchAtLogin);
    result.notifyOnActionFailure =
        plist::boolean(*dict, kNotifyOnActionFailure).value_or(result.notifyOnActionFailure);
    return result;
}

} // namespace quilla
