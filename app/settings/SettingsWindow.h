#pragma once

#include <QWidget>

namespace quilla {

class ContentView;
struct SettingsPlatform;
struct SettingsStores;

/// The application's one main window ("QuillaMainWindow") holding the ContentView. Closing it
/// only hides it, so it and its state live as long as the application.
class SettingsWindow final : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* identifier = "QuillaMainWindow";

    SettingsWindow(SettingsStores& stores, const SettingsPlatform& platform, QWidget* parent = nullptr);

    ContentView* contentView() const { return content_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ContentView* content_;
};

} // namespace quilla
