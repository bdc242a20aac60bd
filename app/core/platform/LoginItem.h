#pragma once

#include <string>

namespace quilla {

/// The application's own start-at-login registration.
class LoginItem {
public:
    virtual ~LoginItem() = default;
    virtual bool isEnabled() const = 0;
    /// Registers the application to start at login; false with `error` filled on failure.
    virtual bool registerItem(std::string* error = nullptr) = 0;
    virtual bool unregisterItem(std::string* error = nullptr) = 0;
};

} // namespace quilla
