// Settings files are read by the application and, inside the file manager's process, by the
// extension, from bytes anything with access to the folder could have written. Any bytes must read
// as some settings or as a damaged file, never crash; and whatever is read must survive being
// written back and read again, so a save never loses what the user set.
#include "app/core/FeatureSettingsPersistence.h"
#include "app/core/deletion/ScheduledDeletionItem.h"
#include "app/core/lists/CustomDestinationPersistence.h"
#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "app/core/lists/FinderViewPresetPersistence.h"
#include "app/core/preferences/AppPreferencesPersistence.h"
#include "finder-extension/core/FinderCustomDestinationSettings.h"
#include "finder-extension/core/FinderCustomShortcutActionSettings.h"
#include "finder-extension/core/FinderFeatureSettings.h"
#include "finder-extension/core/FinderViewPresetSettings.h"
#include "fuzz/FuzzSupport.h"
#include "shared/PropertyList.h"

using namespace quilla;

namespace {

/// The value as the application writes it, read back.
std::optional<plist::Value> rewritten(const plist::Value& value) {
    return plist::parse(plist::toXML(value));
}

/// What the application read from `root` is saved as a file it reads back, and saving that again
/// changes nothing. (The first save may round what the file format cannot hold, such as fractions
/// of a second in dates.)
template <typename Decode, typename Encode>
void survivesASave(const plist::Value& root, Decode decode, Encode encode) {
    const auto decoded = decode(root);
    if (!decoded) {
        return;
    }
    const auto saved = rewritten(encode(*decoded));
    const auto read = saved ? decode(*saved) : decltype(decoded){};
    fuzz::require(read.has_value(), "a saved settings file reads back");
    const auto savedAgain = rewritten(encode(*read));
    fuzz::require(savedAgain && decode(*savedAgain) == read, "saving settings again changes nothing");
}

/// The decoders that do not give an optional, made to.
std::optional<FeatureSettings> decodeFeatureSettings(const plist::Value& root) {
    return root.asDict() ? FeatureSettingsPersistence::decode(*root.asDict()).settings : std::nullopt;
}
std::optional<AppPreferences> decodePreferences(const plist::Value& root) {
    return AppPreferencesPersistence::decode(root);
}

void readByTheExtension(std::string_view bytes) {
    const std::optional<std::string> file{std::string(bytes)};
    (void)FinderFeatureSettings::menuSettings(file);
    (void)FinderCustomDestinationSettings::storedLists(file);
    (void)FinderCustomShortcutActionSettings::parse(file);
    (void)FinderViewPresetSettings::parse(file);
}

void readByTheApplication(const plist::Value& root) {
    survivesASave(root, &decodeFeatureSettings, &FeatureSettingsPersistence::encode);
    survivesASave(root, &CustomDestinationPersistence::decode, &CustomDestinationPersistence::encode);
    survivesASave(root, &CustomShortcutActionPersistence::decode, &CustomShortcutActionPersistence::encode);
    survivesASave(root, &FinderViewPresetPersistence::decode, &FinderViewPresetPersistence::encode);
    survivesASave(root, &decodeScheduledDeletionItems, &encodeScheduledDeletionItems);
    survivesASave(root, &decodePreferences, &AppPreferencesPersistence::encode);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = fuzz::bytesOf(data, size);
    readByTheExtension(bytes);
    const auto root = plist::parse(bytes);
    if (!root) {
        return 0;
    }
    // Whatever was read can be written as XML that reads back as the same value.
    const auto xml = plist::toXML(*root);
    const auto again = plist::parse(xml);
    fuzz::require(again.has_value(), "written XML reads back");
    fuzz::require(plist::toXML(*again) == xml, "written XML reads back as the same value");
    readByTheApplication(*root);
    return 0;
}
