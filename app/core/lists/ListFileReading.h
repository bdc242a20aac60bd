#pragma once

#include "app/core/SettingsFileCopies.h"
#include "shared/PropertyList.h"

#include <filesystem>
#include <optional>
#include <utility>

namespace quilla::list_files {

/// The value's array when it is an array of dictionaries whose every value is a string; null
/// when it, or any element or value inside, has another type. The list files are read
/// strictly: one wrong value anywhere makes the whole file count as absent.
const plist::Array* stringDictArray(const plist::Value& value);

/// Reads `path` and decodes it with `decode`; nothing when the file is missing, is not a
/// property list or `decode` rejects its shape. Has no side effects.
template <typename Decode>
auto read(const std::filesystem::path& path, Decode decode) -> decltype(decode(std::declval<plist::Value>())) {
    auto root = plist::readFile(path);
    if (!root) {
        return std::nullopt;
    }
    return decode(*root);
}

/// Whether something (a file, a folder, a link) exists at `path`.
bool isPresent(const std::filesystem::path& path);

/// As read(), for a store starting up: a file that is present but counts as absent is first
/// renamed to NAME.bad-<UTC time>, so the save that follows cannot destroy what it held.
template <typename Decode>
auto readKeepingDamagedAside(const std::filesystem::path& path, Decode decode)
    -> decltype(decode(std::declval<plist::Value>())) {
    auto result = read(path, decode);
    if (!result && isPresent(path)) {
        keepDamagedFileAside(path);
    }
    return result;
}

} // namespace quilla::list_files
