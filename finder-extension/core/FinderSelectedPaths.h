#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace quilla {

/// The paths selected when a menu was built, stored once per menu and shared by all of its items.
/// A right-click on thousands of files builds dozens of items; copying the selection into each one
/// made the menu's cost grow with items x selected files. Read-only once made, so sharing is safe.
class FinderSelectedPaths final {
public:
    FinderSelectedPaths() = default;
    FinderSelectedPaths(std::vector<std::string> paths) // NOLINT(google-explicit-constructor): a value type
        : paths_(std::make_shared<const std::vector<std::string>>(std::move(paths))) {}
    FinderSelectedPaths(std::initializer_list<std::string> paths)
        : FinderSelectedPaths(std::vector<std::string>(paths)) {}

    const std::vector<std::string>& paths() const { return paths_ ? *paths_ : noPaths(); }
    operator const std::vector<std::string>&() const {
        return paths();
    } // NOLINT(google-explicit-constructor)

    std::size_t size() const { return paths().size(); }
    bool empty() const { return paths().empty(); }
    auto begin() const { return paths().begin(); }
    auto end() const { return paths().end(); }

    /// Equal when the paths are, whether or not the storage is shared.
    bool operator==(const FinderSelectedPaths& other) const { return paths() == other.paths(); }

private:
    static const std::vector<std::string>& noPaths() {
        static const std::vector<std::string> none;
        return none;
    }

    std::shared_ptr<const std::vector<std::string>> paths_;
};

} // namespace quilla
