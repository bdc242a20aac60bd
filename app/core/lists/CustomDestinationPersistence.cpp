#include "app/core/lists/CustomDestinationPersistence.h"

#include "app/core/lists/ListFileReading.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"

namespace quilla {
namespace {

std::optional<CustomDestination> decodedDestination(const plist::Dict& entry) {
    const std::string* id = plist::string(entry, "id");
    const std::string* name = plist::string(entry, "name");
    const std::string* path = plist::string(entry, "path");
    if (!id || !name || !path) {
        return std::nullopt;
    }
    return CustomDestination{*id, *name, *path};
}

} // namespace

CustomDestinationPersistence::CustomDestinationPersistence(QuillaSettingsChangeNotifier& notifier)
    : files_(std::string(settings_files::kCustomDestinations),
             std::string(settings_files::kReasonCustomDestinations), notifier) {}

std::filesystem::path CustomDestinationPersistence::applicationCopy() {
    return paths::appSupportDir() / settings_files::kCustomDestinations;
}

std::optional<DestinationsByKind> CustomDestinationPersistence::load() {
    return list_files::read(applicationCopy(), decode);
}

std::optional<DestinationsByKind> CustomDestinationPersistence::loadKeepingDamagedAside() const {
    return list_files::readKeepingDamagedAside(files_.applicationCopy(), decode);
}

bool CustomDestinationPersistence::save(const DestinationsByKind& destinations) const {
    return files_.save(encode(destinations));
}

plist::Value CustomDestinationPersistence::encode(const DestinationsByKind& destinations) {
    plist::Dict root;
    for (const auto& [key, list] : destinations) {
        plist::Array entries;
        entries.reserve(list.size());
        for (const auto& item : list) {
            entries.emplace_back(plist::Dict{{"id", item.id}, {"name", item.name}, {"path", item.path}});
        }
        root.emplace(key, std::move(entries));
    }
    return plist::Value(std::move(root));
}

std::optional<DestinationsByKind> CustomDestinationPersistence::decode(const plist::Value& root) {
    const plist::Dict* lists = root.asDict();
    if (!lists) {
        return std::nullopt;
    }
    DestinationsByKind result;
    for (const auto& [key, value] : *lists) {
        const plist::Array* entries = list_files::stringDictArray(value);
        if (!entries) {
            return std::nullopt;
        }
        auto& list = result[key];
        list.reserve(entries->size());
        for (const auto& entry : *entries) {
            if (auto item = decodedDestination(*entry.asDict())) {
                list.push_back(std::move(*item));
            }
        }
    }
    return result;
}

} // namespace quilla
