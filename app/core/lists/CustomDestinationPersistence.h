#pragma once

#include "app/core/SettingsFileCopies.h"
#include "app/core/lists/CustomDestination.h"
#include "shared/PropertyList.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// The lists by key: the four kind raw values, plus any other key found in the file, kept as read.
using DestinationsByKind = std::map<std::string, std::vector<CustomDestination>>;

/// Reads and writes CustomDestinations.plist: a dictionary from list key to an array of
/// {"id", "name", "path"} string dictionaries. Only the application copy is read; a save writes
/// both copies and then posts "custom-destinations".
class CustomDestinationPersistence final {
public:
    explicit CustomDestinationPersistence(QuillaSettingsChangeNotifier& notifier);

    /// The application copy's path.
    static std::filesystem::path applicationCopy();

    /// The saved lists; nothing when the file is missing, is not a property list or has any value
    /// of the wrong type. Entries lacking "id", "name" or "path" are skipped. No side effects.
    static std::optional<DestinationsByKind> load();

    /// As load(), but a present file that counts as absent is kept aside first (store start-up).
    std::optional<DestinationsByKind> loadKeepingDamagedAside() const;

    /// Writes both copies, then notifies; false, silently, when a write fails.
    bool save(const DestinationsByKind& destinations) const;

    static plist::Value encode(const DestinationsByKind& destinations);
    static std::optional<DestinationsByKind> decode(const plist::Value& root);

private:
    SettingsFileCopies files_;
};

} // namespace quilla
