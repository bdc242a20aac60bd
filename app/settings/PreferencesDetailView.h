#pragma once

#include "app/core/Observable.h"
#include "app/settings/DetailPageFrame.h"
#include "app/settings/LinuxPermissionStatus.h"
#include "app/settings/SettingsPlatform.h"

namespace quilla {

class SettingsActionRow;
class SettingsSection;
class SettingsToggleRow;
struct SettingsStores;

/// The preferences page: start at login, the permission guide as this machine sees it, the menu
/// layout, the file manager behaviour after actions and the failure notifications.
class PreferencesDetailView final : public DetailPageFrame {
    Q_OBJECT

public:
    /// The page's sections, for rows other parts of the application add.
    enum class Section { general, permissions, menu, finderBehaviour };

    PreferencesDetailView(SettingsStores& stores, const SettingsPlatform& platform,
                          QWidget* parent = nullptr);
    ~PreferencesDetailView() override;

    SettingsSection* section(Section which) const;
    SettingsToggleRow* launchAtLoginRow() const { return launchAtLogin_; }
    SettingsToggleRow* collapseRow() const { return collapse_; }
    SettingsToggleRow* revealCreatedRow() const { return revealCreated_; }
    SettingsToggleRow* revealResultsRow() const { return revealResults_; }
    SettingsToggleRow* notifyFailuresRow() const { return notifyFailures_; }
    /// The four guide rows: module, file access, file manager control, restart.
    SettingsActionRow* permissionRow(int index) const {
        return permissionRows_.at(static_cast<std::size_t>(index));
    }
    const LinuxPermissionStatus& permissionStatus() const { return status_; }

private:
    void addGeneral();
    void addPermissions();
    void addMenu();
    void addFinderBehaviour();
    void refresh();
    void showInstallInstructions();

    SettingsStores& stores_;
    SettingsPlatform platform_;
    LinuxPermissionStatus status_;
    Observable::Token featureToken_ = 0;
    Observable::Token preferencesToken_ = 0;
    std::array<SettingsSection*, 4> sections_{};
    SettingsToggleRow* launchAtLogin_ = nullptr;
    SettingsToggleRow* collapse_ = nullptr;
    SettingsToggleRow* revealCreated_ = nullptr;
    SettingsToggleRow* revealResults_ = nullptr;
    SettingsToggleRow* notifyFailures_ = nullptr;
    std::array<SettingsActionRow*, 4> permissionRows_{};
};

} // namespace quilla
