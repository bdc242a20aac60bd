// Right-click latency of the extension: the file manager waits for menu(for:) on every selection
// change. Profiles: no settings files; the files the application writes on first start; and a heavy
// profile (every child enabled, expanded layout, 200 destinations, 100 presets, 100 custom
// actions). Everything runs in a throwaway home, with the diagnostic log written as in use.
// The module benchmarks load the built libquilla-nautilus.so as Files does and ask it for the menu
// of 1, 1,000 and 10,000 selected files (goals: 1,000 under 3 ms, 10,000 under 25 ms).
#include "finder-extension/core/FinderSelectionHost.h"
#include "finder-extension/core/FinderSync.h"
#include "shared/FileIO.h"
#include "shared/PropertyList.h"
#include "shared/QuillaPaths.h"
#include "shared/catalog/FeatureCatalogDefaults.h"

#ifdef QUILLA_NAUTILUS_MODULE_PATH
#include "finder-extension/nautilus/tests/FakeNautilusFileInfo.h"
#include "finder-extension/nautilus/tests/NautilusTestModule.h"
#endif

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/time.h>

namespace quilla {
namespace {

namespace fs = std::filesystem;

class NullSystemLog final : public FinderSystemLog {
public:
    void log(Level, std::string_view, std::string_view) noexcept override {}
};

class CountingNotifier final : public QuillaActionQueuedNotifier {
public:
    void postActionQueued() noexcept override { ++posts; }
    long posts = 0;
};

class RunningApplication final : public QuillaAppLauncher {
public:
    bool isApplicationRunning() noexcept override { return true; }
    void startApplication(Completion completion) noexcept override { completion(std::nullopt); }
};

// A fresh HOME and XDG folders for one profile, so nothing of the real user's is read or written.
void useFreshHome(const std::string& profile) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quilla-bench-" + profile + "-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    const fs::path root(pattern);
    for (const auto& [variable, folder] : std::initializer_list<std::pair<const char*, const char*>>{
             {"HOME", "home"}, {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"XDG_STATE_HOME", "state"},
             {"XDG_DATA_DIRS", "system-data"}, {"XDG_RUNTIME_DIR", "runtime"}}) {
        fs::create_directories(root / folder);
        ::setenv(variable, (root / folder).c_str(), 1);
    }
}

// Settings files are usually old; a file written within the last seconds is compared byte by byte
// on every menu, which is not the steady state this measures.
void writeOld(std::string_view name, const plist::Value& root) {
    const auto path = paths::extensionSupportDir() / name;
    writeFileAtomically(path, plist::toXML(root));
    const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ::utimes(path.c_str(), hourAgo);
}

plist::Value featureSettings(const std::vector<std::string>& features, const std::vector<std::string>& children,
                             const std::string& layout) {
    plist::Dict order;
    for (const auto& [feature, ids] : defaultChildOrderByFeatureID()) {
        order.emplace(feature, plist::makeStringArray(ids));
    }
    return plist::Dict{{"enabledFeatureIDs", plist::makeStringArray(features)},
                       {"featureOrder", plist::makeStringArray(defaultFeatureOrder())},
                       {"childOrderByFeatureID", order},
                       {"enabledChildIDs", plist::makeStringArray(children)},
                       {"groupsFeaturesUnderQuilla", false},
                       {"menuLayout", layout}};
}

plist::Value destination(const std::string& id, const std::string& name, const std::string& path) {
    return plist::Dict{{"id", id}, {"name", name}, {"path", path}};
}

plist::Value preset(const std::string& id, const std::string& name, const char* view, const char* sort) {
    return plist::Dict{{"id", id}, {"name", name}, {"viewMode", view}, {"sortMode", sort}};
}

void writeFirstStartFiles() {
    writeOld("FeatureSettings.plist", featureSettings(everydayEnabledFeatureIDs(), everydayEnabledChildIDs(), "collapsed"));
    const auto home = paths::home().string();
    const plist::Array files{destination("桌面", "桌面", home + "/Desktop"), destination("下载", "下载", home + "/Downloads"),
                             destination("文稿", "文稿", home + "/Documents")};
    plist::Array quickOpen{destination("home", "用户目录", home)};
    quickOpen.insert(quickOpen.end(), files.begin(), files.end());
    quickOpen.push_back(destination("pictures", "图片", home + "/Pictures"));
    quickOpen.push_back(destination("applications", "应用程序", "/usr/share/applications"));
    writeOld("CustomDestinations.plist",
             plist::Dict{{"copy", files}, {"move", files}, {"quickOpen", quickOpen}, {"openApplication", plist::Array{}}});
    writeOld("CustomShortcutActions.plist", plist::Array{});
    writeOld("FinderViewPresets.plist",
             plist::Array{preset("list-modified", "列表 · 最近修改", "list", "modificationDate"),
                          preset("icon-name", "图标 · 按名称", "icon", "name"),
                          preset("column-name", "分栏 · 按名称", "column", "name")});
}

void writeHeavyFiles() {
    auto children = allCatalogChildIDs();
    children.insert(children.end(), {"copyFilesToFolder", "moveFilesToFolder"});
    writeOld("FeatureSettings.plist", featureSettings(defaultFeatureOrder(), children, "expanded"));
    plist::Dict lists;
    for (const char* kind : {"copy", "move", "quickOpen", "openApplication"}) {
        plist::Array list;
        for (int i = 0; i < 50; ++i) {
            const auto n = std::to_string(i);
            list.push_back(destination(std::string(kind) + n, "目的地 " + n, "/srv/projects/folder " + n));
        }
        lists.emplace(kind, std::move(list));
    }
    writeOld("CustomDestinations.plist", lists);
    plist::Array presets, actions;
    for (int i = 0; i < 100; ++i) {
        const auto n = std::to_string(i);
        presets.push_back(preset("P" + n, "列表 · 按名称 " + n, "list", "name"));
        actions.push_back(plist::Dict{{"id", "A" + n}, {"name", "动作 " + n}, {"kind", i % 2 ? "script" : "shortcut"},
                                      {"shortcutName", "Shortcut " + n}, {"scriptPath", "/opt/scripts/s" + n + ".sh"}});
    }
    writeOld("FinderViewPresets.plist", presets);
    writeOld("CustomShortcutActions.plist", actions);
}

struct Extension {
    NullSystemLog log;
    CountingNotifier notifier;
    RunningApplication launcher;
    FinderSelectionHost host{{"/srv/photos/a.jpg", "/srv/photos/b.jpg", "/srv/photos/c d.png"}, "/srv/photos"};
    FinderSync sync{host, {log, notifier, launcher}};
};

void runMenus(benchmark::State& state, void (*writeFiles)(), const char* profile) {
    useFreshHome(profile);
    if (writeFiles) {
        writeFiles();
    }
    Extension extension;
    std::size_t items = 0;
    for (auto _ : state) {
        auto menu = extension.sync.menu(FinderMenuKind::contextualMenuForItems);
        items = menu.items.size();
        benchmark::DoNotOptimize(menu);
    }
    state.counters["topLevelItems"] = static_cast<double>(items);
}

void BM_MenuDefaults(benchmark::State& state) { runMenus(state, nullptr, "defaults"); }
void BM_MenuFirstStartFiles(benchmark::State& state) { runMenus(state, &writeFirstStartFiles, "first-start"); }
void BM_MenuHeavy(benchmark::State& state) { runMenus(state, &writeHeavyFiles, "heavy"); }

// One click: context to queue file written (atomically, with fsync) and the notification posted.
void BM_ClickCopyFullPath(benchmark::State& state) {
    useFreshHome("click");
    writeFirstStartFiles();
    Extension extension;
    const auto menu = extension.sync.menu(FinderMenuKind::contextualMenuForItems);
    const FinderMenuItem* item = nullptr;
    for (const auto& feature : menu.items) {
        if (feature.submenu && feature.title == "复制名称与路径") {
            item = &feature.submenu->items.front();
        }
    }
    if (!item) {
        state.SkipWithError("no copy-path item");
        return;
    }
    for (auto _ : state) {
        const auto file = extension.sync.performFeatureChild(*item);
        state.PauseTiming();
        if (file) {
            fs::remove(*file);
        }
        state.ResumeTiming();
    }
    state.counters["posted"] = static_cast<double>(extension.notifier.posts);
}

BENCHMARK(BM_MenuDefaults)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MenuFirstStartFiles)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MenuHeavy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClickCopyFullPath)->Unit(benchmark::kMicrosecond);

#ifdef QUILLA_NAUTILUS_MODULE_PATH
// The module and its provider live as long as the process, as in Files.
NautilusMenuProvider* moduleProvider() {
    static NautilusMenuProvider* provider = [] {
        static test::NautilusTestModule module(QUILLA_NAUTILUS_MODULE_PATH);
        const auto objects = module.isLoaded() ? module.createObjects() : std::vector<GObject*>{};
        return objects.empty() ? nullptr : NAUTILUS_MENU_PROVIDER(objects.front());
    }();
    return provider;
}

// get_file_items for a selection of state.range(0) files, menu and log line included.
void BM_ModuleFileItems(benchmark::State& state) {
    useFreshHome("module");
    writeFirstStartFiles();
    auto* provider = moduleProvider();
    if (!provider) {
        state.SkipWithError("the Nautilus module did not load");
        return;
    }
    std::vector<std::string> paths;
    for (long i = 0; i < state.range(0); ++i) {
        paths.push_back("/srv/photos/IMG_" + std::to_string(10000 + i) + ".jpg");
    }
    GList* files = test::makeFakeFileInfoList(paths);
    for (auto _ : state) {
        GList* items = nautilus_menu_provider_get_file_items(provider, files);
        state.PauseTiming();
        g_list_free_full(items, g_object_unref);
        state.ResumeTiming();
    }
    test::freeFileInfoList(files);
    state.counters["selected"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ModuleFileItems)->Arg(1)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
#endif

} // namespace
} // namespace quilla

BENCHMARK_MAIN();
