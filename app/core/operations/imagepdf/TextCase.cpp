#include "app/core/operations/imagepdf/TextCase.h"

namespace quilla {

std::string asciiLowercase(std::string text) {
    for (auto& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

} // namespace quilla
