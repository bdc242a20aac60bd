#pragma once

#include "app/settings/SettingsPage.h"
#include "app/settings/SettingsPlatform.h"

#include <QWidget>

namespace quilla {

class FeatureDetailView;
class PreferencesDetailView;
class SidebarView;
class SoftwareUpdateController;
struct SettingsStores;

/// The settings window's content: the sidebar on the left, the selected page on the right.
/// Opens on the first feature's page; the selection is not stored.
class ContentView final : public QWidget {
    Q_OBJECT

public:
    ContentView(SettingsStores& stores, const SettingsPlatform& platform, QWidget* parent = nullptr);
    ~ContentView() override;

    const SettingsPage& selectedPage() const { return selectedPage_; }
    /// Shows `page` in the detail area (replacing the page shown).
    void select(const SettingsPage& page);

    SidebarView* sidebar() const { return sidebar_; }
    /// The page shown: a FeatureDetailView or a PreferencesDetailView.
    QWidget* detailPage() const { return detail_; }
    FeatureDetailView* featurePage() const;
    PreferencesDetailView* preferencesPage() const;

    /// Opens the feature-request sheet over the window.
    void showFeatureRequest();
    /// Shows the update dialog.
    void checkForUpdates();
    const SettingsPlatform& platform() const { return platform_; }

    /// The sidebar's subtitle of "检查更新": "当前版本 X (Y)".
    static QString versionText();

private:
    SettingsStores& stores_;
    SettingsPlatform platform_;
    SidebarView* sidebar_;
    QWidget* detail_ = nullptr;
    SettingsPage selectedPage_;
    std::unique_ptr<SoftwareUpdateController> updates_;
};

} // namespace quilla
