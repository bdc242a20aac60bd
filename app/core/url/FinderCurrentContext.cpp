#include "app/core/url/FinderCurrentContext.h"

#include "app/core/platform/FinderScripting.h"

namespace quilla {

FinderCurrentContext FinderCurrentContext::read(FinderScripting& scripting) {
    return {readSelectedURLs(scripting), readTargetedURL(scripting)};
}

std::vector<std::filesystem::path> FinderCurrentContext::readSelectedURLs(FinderScripting& scripting) {
    try {
        auto selection = scripting.selection();
        std::erase_if(selection, [](const std::filesystem::path& path) { return path.empty(); });
        return selection;
    } catch (const std::exception&) {
        return {}; // the executor reports the missing selection in its own words
    }
}

std::optional<std::filesystem::path> FinderCurrentContext::readTargetedURL(FinderScripting& scripting) {
    try {
        auto folder = scripting.frontFolder();
        if (folder && folder->empty()) {
            return std::nullopt;
        }
        return folder;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace quilla
