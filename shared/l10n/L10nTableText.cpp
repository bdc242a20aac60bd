#include "shared/l10n/L10nTableText.h"

namespace quilla {

std::string L10nTableText::unescape(std::string_view field) {
    std::string result;
    result.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            result += field[i];
            continue;
        }
        const char next = field[++i];
        result += next == 'n' ? '\n' : next == 't' ? '\t' : next;
    }
    return result;
}

L10nTableText::Result L10nTableText::parse(std::string_view text) {
    Result result;
    std::size_t number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const auto tab = line.find('\t');
        if (tab == 0) {
            result.problems.push_back("line " + std::to_string(number) + ": no key");
            continue;
        }
        auto key = unescape(line.substr(0, tab));
        // A key alone is a text checked and kept as it is.
        auto shown = tab == std::string_view::npos ? key : unescape(line.substr(tab + 1));
        if (!result.table.emplace(key, std::move(shown)).second) {
            result.problems.push_back("line " + std::to_string(number) + ": key repeated: " + key);
        }
    }
    return result;
}

} // namespace quilla
