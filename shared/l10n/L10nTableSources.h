#pragma once

#include <string_view>

/// The display tables as written in shared/l10n/*.tsv, compiled in by the build.
namespace quilla::l10n {

std::string_view chineseTableSource();
std::string_view englishTableSource();

} // namespace quilla::l10n
