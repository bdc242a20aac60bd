#pragma once

#include "app/core/Observable.h"
#include "app/core/lists/CustomDestination.h"
#include "app/core/lists/CustomDestinationKind.h"
#include "app/core/lists/CustomDestinationPersistence.h"
#include "app/core/lists/ListPrompts.h"

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quilla {

/// The four lists of favourite places in memory. At creation it loads the saved file, restores
/// the defaults and saves once (both copies, one notification); every later change is saved at
/// once and announced to observers.
class CustomDestinationStore final : public Observable {
public:
    explicit CustomDestinationStore(const CustomDestinationPersistence& persistence);

    /// The kind's list in display order (empty when there is none).
    const std::vector<CustomDestination>& destinations(CustomDestinationKind kind) const;

    /// Asks `prompts` for a folder (or an application) and appends it with a new UUID and its
    /// display name; nothing changes on cancel or when the list already holds that path.
    void addDestination(CustomDestinationKind kind, ListPrompts& prompts);

    /// Removes the entries at `offsets` (highest first), then saves once.
    void removeDestinations(CustomDestinationKind kind, const std::set<std::size_t>& offsets);

    /// Reorders with the common list rule (moveItems), then saves once.
    void moveDestinations(CustomDestinationKind kind, const std::set<std::size_t>& offsets, std::size_t destination);

    /// The kind's defaults as the machine is now: the XDG user folders, the installed applications.
    static std::vector<CustomDestination> defaultDestinations(CustomDestinationKind kind);

    /// What a store starts with, given what was saved (nothing = first start or damaged file):
    /// missing kinds get their defaults, legacy entries go, removed defaults come back at the end,
    /// and the installed default applications lead the application list.
    static DestinationsByKind normalized(std::optional<DestinationsByKind> saved);

    /// Entries for the developer editors the application no longer offers.
    static bool isLegacyDeveloperApp(const CustomDestination& destination);

    /// The name a chosen item gets: a desktop entry's Name (else its file name without
    /// ".desktop") for applications, the last path component otherwise, the full path if empty.
    static std::string displayName(CustomDestinationKind kind, const std::string& path);

    /// The chooser the add button opens for `kind`.
    static OpenPanelOptions panelOptions(CustomDestinationKind kind);

private:
    void changed();
    std::vector<CustomDestination>& list(CustomDestinationKind kind);

    const CustomDestinationPersistence& persistence_;
    DestinationsByKind destinationsByKind_;
};

} // namespace quilla
