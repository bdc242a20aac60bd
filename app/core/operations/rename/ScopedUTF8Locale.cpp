#include "app/core/operations/rename/ScopedUTF8Locale.h"

namespace quilla {
namespace {

locale_t utf8Locale() {
    static const locale_t locale = [] {
        locale_t made = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        return made ? made : ::newlocale(LC_CTYPE_MASK, "en_US.UTF-8", nullptr);
    }();
    return locale;
}

locale_t plainLocale() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C", nullptr);
    return locale;
}

} // namespace

ScopedThreadLocale::ScopedThreadLocale(locale_t locale) {
    if (locale) previous_ = ::uselocale(locale);
}

ScopedThreadLocale::~ScopedThreadLocale() {
    if (previous_) ::uselocale(previous_);
}

ScopedUTF8Locale::ScopedUTF8Locale() : ScopedThreadLocale(utf8Locale()) {}

ScopedByteLocale::ScopedByteLocale() : ScopedThreadLocale(plainLocale()) {}

} // namespace quilla
