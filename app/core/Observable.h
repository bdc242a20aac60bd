#pragma once

#include <functional>
#include <map>

namespace quilla {

/// Change callbacks for a store, so a window can bind to it without the store knowing any GUI
/// toolkit. Callbacks run on the thread that changed the store (the main thread).
class Observable {
public:
    using Callback = std::function<void()>;
    using Token = int;

    /// Registers `callback` for every later change; the token removes it again.
    Token observe(Callback callback) {
        callbacks_[++lastToken_] = std::move(callback);
        return lastToken_;
    }
    void unobserve(Token token) { callbacks_.erase(token); }

protected:
    ~Observable() = default;

    void notifyChanged() const {
        // A copy, so a callback may unobserve itself.
        const auto callbacks = callbacks_;
        for (const auto& [token, callback] : callbacks) {
            callback();
        }
    }

private:
    std::map<Token, Callback> callbacks_;
    Token lastToken_ = 0;
};

} // namespace quilla
