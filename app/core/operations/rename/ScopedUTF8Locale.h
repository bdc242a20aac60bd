#pragma once

#include <locale.h>

namespace quilla {

/// Makes the calling thread use the character set of `locale` for the scope (no change when it is
/// null). Other threads are not affected.
class ScopedThreadLocale {
public:
    explicit ScopedThreadLocale(locale_t locale);
    ~ScopedThreadLocale();
    ScopedThreadLocale(const ScopedThreadLocale&) = delete;
    ScopedThreadLocale& operator=(const ScopedThreadLocale&) = delete;

private:
    locale_t previous_ = nullptr;
};

/// A UTF-8 character set for the scope. File names are UTF-8 bytes here, and the archive library
/// converts names through the thread's locale: under the plain "C" locale every non-ASCII name
/// would be lost.
class ScopedUTF8Locale final : public ScopedThreadLocale {
public:
    ScopedUTF8Locale();
};

/// The plain "C" character set for the scope, so that names which are not UTF-8 pass through the
/// archive library byte for byte instead of being converted.
class ScopedByteLocale final : public ScopedThreadLocale {
public:
    ScopedByteLocale();
};

} // namespace quilla
