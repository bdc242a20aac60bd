#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// Announces that a settings file changed, so the extension refreshes what it shows.
class QuillaSettingsChangeNotifier {
public:
    static constexpr std::string_view notificationName = "app.kelvarin.Quilla.SettingsChanged";

    virtual ~QuillaSettingsChangeNotifier() = default;

    /// Posts the notification with `reason` as object and {"reason": reason} as user info.
    /// Never throws; without a session bus it does nothing.
    virtual void post(std::string_view reason) = 0;
};

/// Keeps every posted reason in memory; for tests.
class RecordingSettingsChangeNotifier final : public QuillaSettingsChangeNotifier {
public:
    void post(std::string_view reason) override { reasons.emplace_back(reason); }

    std::vector<std::string> reasons;
};

} // namespace quilla
