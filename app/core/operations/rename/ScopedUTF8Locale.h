#pragma once

#include <locale.h>

namespace quilla {

/// Makes the calling thread use a UTF-8 character set for the scope. File names are UTF-8 bytes
/// here, and the archive library converts names through the thread's locale: under the plain "C"
/// locale every non-ASCII name would be lost. Other threads are not affected.
class ScopedUTF8Locale final {
public:
    ScopedUTF8Locale();
    ~ScopedUTF8Locale();
    ScopedUTF8Locale(const ScopedUTF8Locale&) = delete;
    ScopedUTF8Locale& operator=(const ScopedUTF8Locale&) = delete;

private:
    locale_t previous_ = nullptr;
};

} // namespace quilla
