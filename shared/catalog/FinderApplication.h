#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quilla {

/// Editors an item can be opened in. No catalog child uses them any more; they live on only as
/// legacy entries of the application destinations list.
enum class FinderApplication : std::uint8_t { visualStudioCode, cursor };

inline constexpr std::array<std::string_view, 2> finderApplicationRawValues{"visualStudioCode", "cursor"};
static_assert(finderApplicationRawValues.size() == std::size_t(FinderApplication::cursor) + 1);

/// The stable string of an application, e.g. "cursor".
constexpr std::string_view rawValue(FinderApplication value) {
    return finderApplicationRawValues[static_cast<std::size_t>(value)];
}

} // namespace quilla
