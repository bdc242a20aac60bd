#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quilla::collation {

// How names compare and change case the way people read them (ICU): the order a file manager
// shows, case changes for every script, and "same name apart from case and accents".

/// Sorts items by their last path component as a file manager lists them: case-insensitive,
/// accent-sensitive, digits compared by numeric value (file2 before file10), in the user's locale.
/// Names equal in that order keep a fixed order (by their bytes).
void sortAsFileManagerShows(std::vector<std::filesystem::path>& items);

/// Full Unicode lower/upper case mapping ("straße" → "STRASSE"). Text that is not valid UTF-8
/// only has its ASCII letters changed, so no byte of an odd file name is lost.
std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

/// Whether two names differ at most in letter case and accents (readme.md / README.md, cafe / café).
bool equalIgnoringCaseAndDiacritics(std::string_view a, std::string_view b);

} // namespace quilla::collation
