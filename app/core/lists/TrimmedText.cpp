#include "app/core/lists/TrimmedText.h"

#include <optional>

namespace quilla {
namespace {

// White space and line breaks: U+0009–U+000D, U+0085 and the Unicode separators (Zs, Zl, Zp).
bool isSpaceOrNewline(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

struct CodePoint {
    char32_t value;
    std::size_t length;
};

// Decodes the UTF-8 sequence starting at `at`; nothing when it is not a valid one.
std::optional<CodePoint> decodeAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || at + length > text.size()) {
        return std::nullopt;
    }
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < smallest[length]) {
        return std::nullopt; // an overlong form is not a character
    }
    return CodePoint{value, length};
}

// Start of the code point that ends just before `end`.
std::size_t previousStart(std::string_view text, std::size_t end) {
    std::size_t start = end - 1;
    while (start > 0 && end - start < 4 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
        --start;
    }
    return start;
}

} // namespace

std::string trimmedText(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        auto c = decodeAt(text, begin);
        if (!c || !isSpaceOrNewline(c->value)) {
            break;
        }
        begin += c->length;
    }
    std::size_t end = text.size();
    while (end > begin) {
        const std::size_t start = previousStart(text, end);
        auto c = decodeAt(text, start);
        if (!c || start + c->length != end || !isSpaceOrNewline(c->value)) {
            break;
        }
        end = start;
    }
    return std::string(text.substr(begin, end - begin));
}

} // namespace quilla
