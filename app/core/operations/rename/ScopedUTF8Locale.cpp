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

} // namespace

ScopedUTF8Locale::ScopedUTF8Locale() {
    if (const auto locale = utf8Locale()) previous_ = ::uselocale(locale);
}

ScopedUTF8Locale::~ScopedUTF8Locale() {
    if (previous_) ::uselocale(previous_);
}

} // namespace quilla
