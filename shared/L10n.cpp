#include "shared/L10n.h"

#include "shared/l10n/L10nTableSources.h"
#include "shared/l10n/L10nTableText.h"

#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <set>

namespace quilla {
namespace {

struct State {
    std::optional<L10nLanguage> language; // chosen from the environment at first use
    std::shared_ptr<const L10n::Table> override;
};

std::mutex& stateMutex() {
    static std::mutex mutex;
    return mutex;
}

State& state() {
    static State value = [] {
        State initial;
        // Shows the keys themselves: for tests that compare texts with their keys, and for
        // finding the key of a text seen on screen.
        if (const char* keys = std::getenv("QUILLA_SHOW_L10N_KEYS"); keys && std::string_view(keys) == "1") {
            initial.override = std::make_shared<const L10n::Table>();
        }
        return initial;
    }();
    return value;
}

std::string_view environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::optional<L10nLanguage> languageOfLocale(std::string_view locale) {
    if (startsWith(locale, "zh")) {
        return L10nLanguage::chinese;
    }
    if (startsWith(locale, "en")) {
        return L10nLanguage::english;
    }
    return std::nullopt;
}

bool isCLocale(std::string_view locale) {
    return locale.empty() || locale == "C" || locale == "POSIX" || startsWith(locale, "C.");
}

const std::string* find(const L10n::Table& table, std::string_view key) {
    const auto it = table.find(std::string(key));
    return it == table.end() ? nullptr : &it->second;
}

} // namespace

std::string L10n::text(std::string_view key) {
    L10nLanguage current;
    std::shared_ptr<const Table> override;
    {
        std::lock_guard lock(stateMutex());
        if (!state().language) {
            state().language = languageFromEnvironment();
        }
        current = *state().language;
        override = state().override;
    }
    if (override) {
        const auto* found = find(*override, key);
        return found ? *found : std::string(key);
    }
    if (const auto* found = find(displayTable(current), key)) {
        return *found;
    }
    // An English text not yet translated reads as the Linux wording rather than the raw key.
    if (const auto* found = find(displayTable(L10nLanguage::chinese), key)) {
        return *found;
    }
    return std::string(key);
}

std::string L10n::format(std::string_view key, std::string_view argument) {
    std::string result = text(key);
    if (const auto at = result.find("%@"); at != std::string::npos) {
        result.replace(at, 2, argument);
    }
    return result;
}

L10nLanguage L10n::language() {
    std::lock_guard lock(stateMutex());
    if (!state().language) {
        state().language = languageFromEnvironment();
    }
    return *state().language;
}

void L10n::setLanguage(L10nLanguage language) {
    std::lock_guard lock(stateMutex());
    state().language = language;
}

L10nLanguage L10n::languageFromEnvironment() {
    std::string_view messages = environment("LC_ALL");
    if (messages.empty()) {
        messages = environment("LC_MESSAGES");
    }
    if (messages.empty()) {
        messages = environment("LANG");
    }
    return languageFor(environment("LANGUAGE"), messages);
}

L10nLanguage L10n::languageFor(std::string_view languageList, std::string_view messagesLocale) {
    if (!isCLocale(messagesLocale)) {
        while (!languageList.empty()) {
            const auto colon = languageList.find(':');
            if (const auto language = languageOfLocale(languageList.substr(0, colon))) {
                return *language;
            }
            languageList =
                colon == std::string_view::npos ? std::string_view{} : languageList.substr(colon + 1);
        }
    }
    return languageOfLocale(messagesLocale).value_or(L10nLanguage::chinese);
}

const char* L10n::localeName(L10nLanguage language) {
    return language == L10nLanguage::english ? "en_US" : "zh_CN";
}

void L10n::setTable(Table table) {
    auto shared = std::make_shared<const Table>(std::move(table));
    std::lock_guard lock(stateMutex());
    state().override = std::move(shared);
}

void L10n::useDisplayTables() {
    std::lock_guard lock(stateMutex());
    state().override.reset();
}

const L10n::Table& L10n::displayTable(L10nLanguage language) {
    static const Table chinese = L10nTableText::parse(l10n::chineseTableSource()).table;
    static const Table english = L10nTableText::parse(l10n::englishTableSource()).table;
    return language == L10nLanguage::english ? english : chinese;
}

namespace {
std::set<std::string, std::less<>>& registry() {
    static std::set<std::string, std::less<>> keys;
    return keys;
}
std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}
} // namespace

std::vector<std::string> L10n::registeredKeys() {
    std::lock_guard lock(registryMutex());
    return {registry().begin(), registry().end()};
}

bool L10n::registerKey(std::string_view key) {
    std::lock_guard lock(registryMutex());
    registry().emplace(key);
    return true;
}

} // namespace quilla
