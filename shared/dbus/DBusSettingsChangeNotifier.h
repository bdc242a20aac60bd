#pragma once

#include "shared/SettingsChangeNotifier.h"

namespace quilla {

/// Posts "app.kelvarin.Quilla.SettingsChanged" on the session bus.
class DBusSettingsChangeNotifier final : public QuillaSettingsChangeNotifier {
public:
    void post(std::string_view reason) override;
};

} // namespace quilla
