#include "shared/XmlText.h"

#include <cstdint>
#include <optional>

namespace quilla {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

struct Decoded {
    char32_t character;
    std::size_t length;
};

// One UTF-8 sequence at the start of `text`; nothing for an overlong, truncated or surrogate
// sequence or one beyond U+10FFFF.
std::optional<Decoded> decodeOne(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        return Decoded{lead, 1};
    }
    // Sequence length, payload bits of the lead byte and smallest character per lead form.
    struct Form {
        unsigned char mask, pattern;
        std::size_t length;
        char32_t minimum;
    };
    static constexpr Form kForms[] = {
        {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};
    const Form* form = nullptr;
    for (const auto& candidate : kForms) {
        if ((lead & candidate.mask) == candidate.pattern) {
            form = &candidate;
        }
    }
    if (!form) {
        return std::nullopt;
    }
    const std::size_t length = form->length;
    const char32_t minimum = form->minimum;
    char32_t character = lead & static_cast<unsigned char>(~form->mask);
    if (text.size() < length) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        character = (character << 6) | (next & 0x3F);
    }
    const bool surrogate = character >= 0xD800 && character <= 0xDFFF;
    if (character < minimum || character > 0x10FFFF || surrogate) {
        return std::nullopt;
    }
    return Decoded{character, length};
}

bool allowedInXml(char32_t c) {
    if (c < 0x20) {
        return c == '\t' || c == '\n' || c == '\r';
    }
    return c != 0xFFFE && c != 0xFFFF;
}

} // namespace

bool isXmlSafeText(std::string_view text) {
    while (!text.empty()) {
        const auto decoded = decodeOne(text);
        if (!decoded || !allowedInXml(decoded->character)) {
            return false;
        }
        text.remove_prefix(decoded->length);
    }
    return true;
}

std::string xmlSafeText(std::string_view text) {
    if (isXmlSafeText(text)) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size() + 8);
    while (!text.empty()) {
        const auto decoded = decodeOne(text);
        if (decoded && allowedInXml(decoded->character)) {
            result.append(text.substr(0, decoded->length));
            text.remove_prefix(decoded->length);
        } else {
            result.append(kReplacement);
            text.remove_prefix(decoded ? decoded->length : 1); // one byte per invalid byte
        }
    }
    return result;
}

} // namespace quilla
