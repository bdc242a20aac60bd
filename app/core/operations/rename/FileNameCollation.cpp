#include "app/core/operations/rename/FileNameCollation.h"

#include "app/core/executor/CommandRunner.h"

#include <algorithm>
#include <memory>
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>
#include <unicode/unistr.h>

namespace quilla::collation {
namespace {

/// The user's locale; the POSIX locale has a code-point-like tailoring (all capitals first) that no
/// file manager shows, so it falls back to the root order.
icu::Locale orderingLocale() {
    const auto& locale = icu::Locale::getDefault();
    const std::string_view variant = locale.getVariant();
    return variant == "POSIX" ? icu::Locale::getRoot() : locale;
}

/// Collators are costly to make and not safe to share between threads: one per thread and kind.
icu::Collator& collator(icu::Collator::ECollationStrength strength, bool numeric) {
    thread_local std::unique_ptr<icu::Collator> cache[2];
    auto& slot = cache[numeric ? 1 : 0];
    if (!slot) {
        UErrorCode status = U_ZERO_ERROR;
        slot.reset(icu::Collator::createInstance(numeric ? orderingLocale() : icu::Locale::getRoot(), status));
        if (U_FAILURE(status) || !slot) {
            status = U_ZERO_ERROR;
            slot.reset(icu::Collator::createInstance(icu::Locale::getRoot(), status));
        }
        slot->setStrength(strength);
        slot->setAttribute(UCOL_NUMERIC_COLLATION, numeric ? UCOL_ON : UCOL_OFF, status);
    }
    return *slot;
}

std::string asciiMapped(std::string_view text, bool upper) {
    std::string out(text);
    for (char& c : out) {
        if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string caseMapped(std::string_view text, bool upper) {
    if (!isValidUTF8(std::string(text))) return asciiMapped(text, upper);
    auto unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    // The root locale: a name changes the same way whatever language the desktop uses.
    if (upper) {
        unicode.toUpper(icu::Locale::getRoot());
    } else {
        unicode.toLower(icu::Locale::getRoot());
    }
    std::string out;
    return unicode.toUTF8String(out);
}

UCollationResult compare(icu::Collator& with, std::string_view a, std::string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    return with.compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                            icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
}

} // namespace

void sortAsFileManagerShows(std::vector<std::filesystem::path>& items) {
    auto& order = collator(icu::Collator::SECONDARY, true);
    std::vector<std::pair<std::string, std::filesystem::path>> keyed;
    keyed.reserve(items.size());
    for (auto& item : items) keyed.emplace_back(item.filename().string(), std::move(item));
    std::sort(keyed.begin(), keyed.end(), [&order](const auto& a, const auto& b) {
        const auto result = compare(order, a.first, b.first);
        return result != UCOL_EQUAL ? result == UCOL_LESS : a.first < b.first;
    });
    for (std::size_t i = 0; i < items.size(); ++i) items[i] = std::move(keyed[i].second);
}

std::string lowercased(std::string_view text) { return caseMapped(text, false); }
std::string uppercased(std::string_view text) { return caseMapped(text, true); }

bool equalIgnoringCaseAndDiacritics(std::string_view a, std::string_view b) {
    return compare(collator(icu::Collator::PRIMARY, false), a, b) == UCOL_EQUAL;
}

} // namespace quilla::collation
