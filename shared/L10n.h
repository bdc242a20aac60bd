#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quilla {

/// The languages Quilla shows its texts in.
enum class L10nLanguage { chinese, english };

/// A text literal usable as a template argument, so that each call site can register its key.
template <std::size_t N> struct L10nKey {
    char chars[N]{};
    constexpr L10nKey(const char (&text)[N]) { std::copy_n(text, N, chars); }
    constexpr std::string_view view() const { return {chars, N - 1}; }
};

/// Looks up user-visible texts. The Chinese text itself is the key; the display table of the
/// process's language (chosen from LANGUAGE, LC_ALL, LC_MESSAGES and LANG at first use) gives the
/// text shown: the Chinese table words things the way the Linux desktop does, the English table
/// translates. A key neither table knows is shown as it is.
///
/// Call sites with a literal key use the registered forms, `text<"key">()` and
/// `format<"key">(argument)`: each registers its key at start-up, so a test can check that every
/// text in use has a row in both tables. The plain `text(key)` and `format(key, argument)` show
/// the same texts without registering; they are for keys held in tables, which register
/// themselves (`key<"key">()` or `registerKey`).
class L10n final {
public:
    using Table = std::unordered_map<std::string, std::string>;

    /// The text to show for `key`.
    static std::string text(std::string_view key);
    /// The text to show for `key` with its "%@" replaced by `argument`.
    static std::string format(std::string_view key, std::string_view argument);

    /// `text(Key)`, with Key registered as a text in use.
    template <L10nKey Key> static std::string text() {
        (void)Registration<Key>::registered;
        return text(Key.view());
    }
    /// `format(Key, argument)`, with Key registered as a text in use.
    template <L10nKey Key> static std::string format(std::string_view argument) {
        (void)Registration<Key>::registered;
        return format(Key.view(), argument);
    }

    /// The key itself, registered as a text in use: for keys kept in tables and translated later.
    template <L10nKey Key> static std::string_view key() {
        (void)Registration<Key>::registered;
        return Key.view();
    }

    /// `detail` in brackets after a sentence: "（detail）" in Chinese, " (detail)" in English.
    static std::string parenthesized(std::string_view detail) { return format<"（%@）">(detail); }
    /// `value` after a label ending a sentence: "：value" in Chinese, ": value" in English.
    static std::string labelled(std::string_view value) { return format<"：%@">(value); }

    /// The language texts are shown in.
    static L10nLanguage language();
    /// Shows texts in `language` from now on (normally chosen from the environment). Thread-safe.
    static void setLanguage(L10nLanguage language);
    /// The language the locale variables ask for: the first Chinese or English entry of LANGUAGE
    /// (ignored under the C locale, as gettext does), else LC_ALL, LC_MESSAGES or LANG; anything
    /// else is Chinese.
    static L10nLanguage languageFromEnvironment();
    /// The same rule over explicit values (empty = unset).
    static L10nLanguage languageFor(std::string_view languageList, std::string_view messagesLocale);
    /// The locale name for number and date formats of `language` ("zh_CN" or "en_US").
    static const char* localeName(L10nLanguage language);

    /// Replaces the display tables by `table` (for tests; an empty table shows every key as it
    /// is). Thread-safe.
    static void setTable(Table table);
    /// Back to the display tables after setTable (or QUILLA_SHOW_L10N_KEYS=1).
    static void useDisplayTables();

    /// The display table of `language`: the Chinese table gives the Linux wording of every key in
    /// use (most rows keep the key), the English table translates every key in use.
    static const Table& displayTable(L10nLanguage language);
    /// Every key registered by a call site of this program, sorted, without duplicates.
    static std::vector<std::string> registeredKeys();
    /// Records `key` as a text in use; returns true.
    static bool registerKey(std::string_view key);

private:
    template <L10nKey Key> struct Registration {
        static inline const bool registered = registerKey(Key.view());
    };
};

} // namespace quilla
