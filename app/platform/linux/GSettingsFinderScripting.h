#pragma once

#include "app/core/platform/FinderScripting.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// GNOME Files as the core's FinderScripting. The selection is not published (empty) and the front
/// folder is the Desktop. Views go through GSettings, which Files reads for every new window:
/// org.gnome.nautilus.preferences "default-folder-viewer" (icon, gallery → icon-view; list,
/// column → list-view), "default-sort-order" (name, mtime, btime, size, type; tags → starred)
/// and "default-sort-in-reverse-order"; hidden files are org.gtk.gtk4.Settings.FileChooser
/// "show-hidden", which applies at once. A schema, key or value this machine lacks is a
/// commandFailed error with a Chinese message, never a crash. Every call looks the schemas up
/// afresh, so installing Files later needs no restart. A view or sort change is also shown in the
/// open Files windows (NautilusWindows), which otherwise keep their view until closed.
class GSettingsFinderScripting final : public FinderScripting {
public:
    static constexpr std::string_view kFilesSchema = "org.gnome.nautilus.preferences";
    static constexpr std::string_view kFileChooserSchema = "org.gtk.gtk4.Settings.FileChooser";

    std::vector<std::filesystem::path> selection() override;
    std::optional<std::filesystem::path> frontFolder() override;

    void setViewMode(FinderViewMode mode) override;
    void setSortColumn(FinderSortMode mode) override;
    void applyView(FinderViewMode viewMode, FinderSortMode sortMode) override;
    void sortUsingViewOptions(FinderSortMode mode) override;
    /// "VIEWER | sort=ORDER/normal|reversed", e.g. "list-view | sort=mtime/reversed".
    std::string viewSortState() override;
    bool isShowingHiddenFiles() override;
    void setShowingHiddenFiles(bool show) override;

    /// True when this machine has the GSettings schema `schemaID` (e.g. GNOME Files' own).
    static bool hasSchema(std::string_view schemaID);
    /// The default-folder-viewer value for a view mode.
    static std::string_view folderViewer(FinderViewMode mode);
    /// The default-sort-order value for a sort mode; nothing for none.
    static std::optional<std::string_view> sortOrder(FinderSortMode mode);

    /// What the last change did to each open window, for the diagnostic log.
    const std::vector<std::string>& lastWindowLines() const { return lastWindowLines_; }

private:
    static constexpr unsigned long kKeyFileSettleMicroseconds = 500'000;
    void showInOpenWindows();

    std::vector<std::string> lastWindowLines_;
};

} // namespace quilla
