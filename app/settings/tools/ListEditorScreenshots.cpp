#include "app/settings/tools/ListEditorScreenshots.h"

#include "app/platform/qt/ApplicationChooserDialog.h"
#include "app/platform/qt/ShortcutPickerDialog.h"
#include "app/settings/ContentView.h"
#include "app/settings/FeatureDetailView.h"
#include "app/settings/SettingsWindow.h"
#include "app/settings/lists/ListEditorSection.h"
#include "app/settings/tools/StandaloneSettingsStores.h"
#include "shared/QuillaPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QIcon>
#include <QScrollBar>

#include <chrono>
#include <fstream>
#include <numeric>
#include <set>

namespace quilla {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Answers each chooser with the next prepared path or shortcut, as a user picking them would.
class PreparedListPrompts final : public ListPrompts {
public:
    std::vector<fs::path> paths;
    std::vector<ShortcutPickerAnswer> shortcuts;

    std::optional<fs::path> chooseFolder(const OpenPanelOptions&) override { return next(paths); }
    std::optional<fs::path> chooseApplication(const OpenPanelOptions&) override { return next(paths); }
    std::optional<fs::path> chooseScriptFile(const OpenPanelOptions&) override { return next(paths); }
    std::optional<ShortcutPickerAnswer> pickShortcut(const ShortcutPickerOptions&) override {
        return next(shortcuts);
    }

private:
    template <typename T> static std::optional<T> next(std::vector<T>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        T answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
};

fs::path made(const fs::path& relative, std::string_view contents = {}) {
    const fs::path path = paths::home() / relative;
    fs::create_directories(contents.empty() ? path : path.parent_path());
    if (!contents.empty()) {
        std::ofstream(path) << contents;
    }
    return path;
}

std::set<std::size_t> allOffsets(std::size_t count) {
    std::vector<std::size_t> offsets(count);
    std::iota(offsets.begin(), offsets.end(), 0);
    return {offsets.begin(), offsets.end()};
}

void emptyLists(StandaloneSettingsStores& stores) {
    for (const auto kind : {CustomDestinationKind::copy, CustomDestinationKind::move,
                            CustomDestinationKind::quickOpen, CustomDestinationKind::openApplication}) {
        stores.destinations.removeDestinations(kind,
                                               allOffsets(stores.destinations.destinations(kind).size()));
    }
    stores.shortcutActions.removeActions(allOffsets(stores.shortcutActions.actions().size()));
    stores.viewPresets.removePresets(allOffsets(stores.viewPresets.presets().size()));
    for (const auto& item : stores.deletionStore.loadItems()) {
        stores.deletionStore.cancel(item.id);
    }
}

void fillDestinations(CustomDestinationStore& store) {
    PreparedListPrompts prompts;
    const std::vector<fs::path> folders{made("文档/季度报告"), made("项目/Quilla"), made("图片/截图")};
    for (const auto kind :
         {CustomDestinationKind::copy, CustomDestinationKind::move, CustomDestinationKind::quickOpen}) {
        prompts.paths = folders;
        for (std::size_t i = 0; i < folders.size(); ++i) {
            store.addDestination(kind, prompts);
        }
    }
    const auto app = [](std::string_view file, std::string_view name) {
        return made(fs::path(".local/share/applications") / file,
                    "[Desktop Entry]\nType=Application\nName=" + std::string(name) + "\nExec=true\n");
    };
    prompts.paths = {app("org.gnome.TextEditor.desktop", "文本编辑器"),
                     app("code.desktop", "Visual Studio Code"), app("org.gnome.Loupe.desktop", "图像查看器")};
    for (int i = 0; i < 3; ++i) {
        store.addDestination(CustomDestinationKind::openApplication, prompts);
    }
}

void fillShortcutActions(CustomShortcutActionStore& store) {
    PreparedListPrompts prompts;
    prompts.shortcuts = {{"备份到 NAS", "备份到 NAS"}, {"Resize for Web", "Resize for Web"}};
    store.addAction(prompts);
    store.addAction(prompts);
    prompts.paths = {made("脚本/压缩图片.sh", "#!/bin/sh\n")};
    store.addScriptAction(prompts);
    store.update(store.actions().at(1), "网页尺寸");
}

void fillViewPresets(FinderViewPresetStore& store) {
    const std::pair<FinderViewMode, FinderSortMode> modes[] = {
        {FinderViewMode::list, FinderSortMode::modificationDate},
        {FinderViewMode::icon, FinderSortMode::name},
        {FinderViewMode::column, FinderSortMode::size},
    };
    for (const auto& [view, sort] : modes) {
        store.addPreset();
        auto preset = store.presets().back();
        preset.viewMode = view;
        preset.sortMode = sort;
        preset.name = automaticName(view, sort);
        store.update(preset);
    }
    auto named = store.presets().front();
    named.name = "照片整理";
    store.update(named);
}

void fillScheduledDeletions(const ScheduledDeletionStore& store) {
    store.schedule({made("下载/安装包-1.4.2.deb", "x")}, 2h);
    store.schedule({made("桌面/截图 2026-12-08 10.24.31.png", "x")}, 26h);
    store.schedule({made("临时/会议记录草稿.txt", "x")}, 24h * 7);
}

void settle() {
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 400) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// Shows the feature's page scrolled so that its list editor starts near the top.
void showEditorOf(SettingsWindow& window, QuillaFeature feature) {
    window.contentView()->select(SettingsPage::forFeature(feature));
    settle();
    FeatureDetailView* page = window.contentView()->featurePage();
    for (QWidget* child : page->widget()->findChildren<QWidget*>()) {
        if (dynamic_cast<ListEditorSection*>(child) != nullptr) {
            page->verticalScrollBar()->setValue(child->mapTo(page->widget(), QPoint(0, 0)).y() - 24);
            return;
        }
    }
}

} // namespace

bool renderListEditors(SettingsWindow& window, StandaloneSettingsStores& stores, const QDir& folder,
                       const QString& theme, const ScreenshotSaver& save) {
    const QuillaFeature features[] = {QuillaFeature::copyFile,         QuillaFeature::organizeFile,
                                      QuillaFeature::quickOpen,        QuillaFeature::openWith,
                                      QuillaFeature::viewOptions,      QuillaFeature::customActions,
                                      QuillaFeature::scheduledDeletion};
    bool ok = true;
    const auto renderAll = [&](const QString& suffix) {
        for (const QuillaFeature feature : features) {
            showEditorOf(window, feature);
            const auto name = QStringLiteral("list-%1%2.zh.%3")
                                  .arg(QString::fromUtf8(rawValue(feature).data(),
                                                         static_cast<qsizetype>(rawValue(feature).size())),
                                       suffix, theme);
            ok &= save(window, folder, name);
        }
    };
    emptyLists(stores);
    renderAll(QStringLiteral("-empty"));
    fillDestinations(stores.destinations);
    fillShortcutActions(stores.shortcutActions);
    fillViewPresets(stores.viewPresets);
    fillScheduledDeletions(stores.deletionStore);
    renderAll({});
    return ok;
}

bool renderChoosers(QWidget& parent, const QDir& folder, const QString& theme, const ScreenshotSaver& save) {
    // The offscreen platform knows no icon folders (a desktop session's platform theme does), so
    // the applications would show without their icons.
    const QStringList iconPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths(iconPaths + QStringList{QStringLiteral("/usr/local/share/icons"),
                                                       QStringLiteral("/usr/share/icons"),
                                                       QStringLiteral("/usr/share/pixmaps")});
    bool ok = true;
    ApplicationChooserDialog applications(
        CustomDestinationStore::panelOptions(CustomDestinationKind::openApplication),
        DesktopEntry::installed(), &parent);
    applications.show();
    ok &= save(applications, folder, QStringLiteral("chooser-application.zh.%1").arg(theme));
    for (const bool empty : {false, true}) {
        const std::vector<std::string> names{"Backup to NAS", "Resize for Web", "整理下载"};
        ShortcutPickerDialog picker(
            CustomShortcutActionStore::pickerOptions(empty ? std::vector<std::string>{} : names),
            [](const fs::path&) {}, &parent);
        picker.show();
        ok &= save(picker, folder,
                   QStringLiteral("chooser-shortcut%1.zh.%2")
                       .arg(empty ? QStringLiteral("-empty") : QString(), theme));
    }
    QIcon::setThemeSearchPaths(iconPaths);
    return ok;
}

} // namespace quilla
