// Drives the built libquilla-nautilus.so through the same doors GNOME Files uses: a GTypeModule,
// the three entry points, and the NautilusMenuProvider interface of the type it registers.
#include "finder-extension/core/FinderSelectionHost.h"
#include "finder-extension/core/FinderSync.h"
#include "finder-extension/nautilus/tests/FakeNautilusFileInfo.h"
#include "finder-extension/nautilus/tests/GLibLogCapture.h"
#include "finder-extension/nautilus/tests/NautilusTestModule.h"
#include "finder-extension/nautilus/tests/RenderedMenuItem.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "shared/SettingsFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <set>

using namespace quilla;
using namespace quilla::test;

namespace {

struct SilentLog final : FinderSystemLog {
    void log(Level, std::string_view, std::string_view) noexcept override {}
};
struct NoNotifier final : QuillaActionQueuedNotifier {
    void postActionQueued() noexcept override {}
};
struct RunningApp final : QuillaAppLauncher {
    bool isApplicationRunning() noexcept override { return true; }
    void startApplication(Completion) noexcept override {}
};

// The menu the core builds for this selection, computed in this process from the same files.
FinderMenu expectedMenu(const std::vector<std::string>& selection, const std::optional<std::string>& target,
                        FinderMenuKind kind) {
    FinderSelectionHost host(selection, target);
    SilentLog log;
    NoNotifier notifier;
    RunningApp launcher;
    FinderSync sync(host, {log, notifier, launcher});
    return sync.menu(kind);
}

const char* const kGroupedExpandedSettings = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
<key>groupsFeaturesUnderQuilla</key><true/>
<key>menuLayout</key><string>expanded</string>
</dict></plist>
)";

std::set<std::string> definedDynamicSymbols(const std::string& path) {
    std::set<std::string> symbols;
    FILE* pipe = ::popen(("nm -D --defined-only '" + path + "'").c_str(), "r");
    if (!pipe) {
        return symbols;
    }
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        text.erase(text.find_last_not_of('\n') + 1);
        symbols.insert(text.substr(text.rfind(' ') + 1));
    }
    ::pclose(pipe);
    return symbols;
}

std::vector<std::filesystem::path> queueFiles() {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(paths::primaryQueueDir(), error)) {
        if (entry.path().extension() == ".json") {
            files.push_back(entry.path());
        }
    }
    return files;
}

// Counts ActionQueued signals on the session bus, on a connection of its own.
class ActionQueuedListener final {
public:
    ActionQueuedListener() {
        const char* address = g_getenv("DBUS_SESSION_BUS_ADDRESS");
        if (!address) {
            return;
        }
        connection_ = g_dbus_connection_new_for_address_sync(
            address,
            GDBusConnectionFlags(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                 G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
        if (!connection_) {
            return;
        }
        subscription_ = g_dbus_connection_signal_subscribe(
            connection_, nullptr, "app.kelvarin.Quilla", "ActionQueued", "/app/kelvarin/Quilla", nullptr,
            G_DBUS_SIGNAL_FLAGS_NONE,
            [](GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar*, GVariant*,
               gpointer count) { ++*static_cast<int*>(count); },
            &received_, nullptr);
        // A round trip makes sure the match rule is in place before anything is sent.
        GVariant* reply = g_dbus_connection_call_sync(
            connection_, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.Peer", "Ping",
            nullptr, nullptr, G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr);
        if (reply) {
            g_variant_unref(reply);
        }
    }
    ~ActionQueuedListener() {
        if (connection_) {
            g_dbus_connection_signal_unsubscribe(connection_, subscription_);
            g_object_unref(connection_);
        }
    }
    ActionQueuedListener(const ActionQueuedListener&) = delete;
    ActionQueuedListener& operator=(const ActionQueuedListener&) = delete;

    bool isListening() const { return connection_ != nullptr; }
    bool waitForSignal() {
        for (int i = 0; i < 1000 && received_ == 0; ++i) {
            g_main_context_iteration(nullptr, FALSE);
            g_usleep(2000);
        }
        return received_ == 1;
    }

private:
    GDBusConnection* connection_ = nullptr;
    guint subscription_ = 0;
    int received_ = 0;
};

class NautilusModuleTest : public ::testing::Test {
protected:
    // One module and one provider for the whole process, as in Files, which never lets them go.
    static void SetUpTestSuite() {
        GLibLogCapture::install();
        if (!module_) {
            module_ = new NautilusTestModule(QUILLA_NAUTILUS_MODULE_PATH);
            if (module_->isLoaded() && module_->types().size() == 1) {
                provider_ = NAUTILUS_MENU_PROVIDER(module_->createObjects().front());
            }
        }
    }

    void SetUp() override {
        ASSERT_TRUE(module_->isLoaded()) << module_->error();
        ASSERT_NE(provider_, nullptr);
        std::filesystem::remove(paths::extensionSupportDir() / settings_files::kFeatureSettings);
        std::filesystem::remove_all(paths::primaryQueueDir());
        GLibLogCapture::clear();
    }

    static GList* fileItems(const std::vector<std::string>& paths) {
        GList* files = makeFakeFileInfoList(paths);
        GList* items = nautilus_menu_provider_get_file_items(provider_, files);
        freeFileInfoList(files);
        return items;
    }

    static GList* backgroundItems(const std::string& folder) {
        NautilusFileInfo* info = makeFakeFileInfoForPath(folder);
        GList* items = nautilus_menu_provider_get_background_items(provider_, info);
        g_object_unref(info);
        return items;
    }

    TempDir folder_;
    static inline NautilusTestModule* module_ = nullptr;
    static inline NautilusMenuProvider* provider_ = nullptr;
};

} // namespace

TEST_F(NautilusModuleTest, ExportsOnlyTheThreeEntryPoints) {
    EXPECT_EQ(definedDynamicSymbols(QUILLA_NAUTILUS_MODULE_PATH),
              (std::set<std::string>{"nautilus_module_initialize", "nautilus_module_list_types",
                                     "nautilus_module_shutdown"}));
    ASSERT_EQ(module_->types().size(), 1u);
    EXPECT_TRUE(g_type_is_a(module_->types().front(), NAUTILUS_TYPE_MENU_PROVIDER));
}

TEST_F(NautilusModuleTest, RendersTheCoreMenuForBothRequests) {
    const std::string dir = folder_.path().string();
    const std::vector<std::string> selection = {dir + "/报告 2024.txt", dir + "/it's \"quoted\".pdf"};
    struct Case {
        const char* name;
        const char* settings;
    };
    for (const Case& testCase :
         {Case{"defaults", nullptr}, Case{"grouped, expanded", kGroupedExpandedSettings}}) {
        if (testCase.settings) {
            ASSERT_TRUE(writeFileAtomically(paths::extensionSupportDir() / settings_files::kFeatureSettings,
                                            testCase.settings));
        }
        GList* items = fileItems(selection);
        EXPECT_EQ(describeItems(items),
                  expectedItems(expectedMenu(selection, dir, FinderMenuKind::contextualMenuForItems)))
            << testCase.name;
        const auto names = itemNames(items);
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << testCase.name;
        nautilus_menu_item_list_free(items);

        GList* background = backgroundItems(dir);
        EXPECT_EQ(describeItems(background),
                  expectedItems(expectedMenu({}, dir, FinderMenuKind::contextualMenuForContainer)))
            << testCase.name;
        nautilus_menu_item_list_free(background);
    }
}

TEST_F(NautilusModuleTest, NonLocalLocationsGetNoMenu) {
    NautilusFileInfo* trash = makeFakeFileInfo("trash:///");
    EXPECT_EQ(nautilus_menu_provider_get_background_items(provider_, trash), nullptr);
    GList* files = g_list_append(nullptr, makeFakeFileInfo("sftp://host/home/a.txt"));
    EXPECT_EQ(nautilus_menu_provider_get_file_items(provider_, files), nullptr);
    EXPECT_EQ(nautilus_menu_provider_get_file_items(provider_, nullptr), nullptr);
    freeFileInfoList(files);
    g_object_unref(trash);
}

TEST_F(NautilusModuleTest, AnExceptionInsideARequestStaysInTheModule) {
    GList* files = g_list_append(nullptr, makeThrowingFileInfo());
    EXPECT_EQ(nautilus_menu_provider_get_file_items(provider_, files), nullptr);
    EXPECT_TRUE(GLibLogCapture::contains("get_file_items failed: location look-up failed"));
    freeFileInfoList(files);
}

// A click writes the queue file for the selection of its menu and announces it on the session
// bus (the tests run under dbus-run-session; without a bus only the file is checked).
TEST_F(NautilusModuleTest, ActivationQueuesTheActionAndSignalsIt) {
    const std::string dir = folder_.path().string();
    const std::vector<std::string> selection = {dir + "/a b.txt", dir + "/文档\n.md"};
    struct Case {
        const char* name;
        bool onItems;
        std::vector<std::string> queuedSelection;
    };
    for (const Case& testCase : {Case{"items", true, selection}, Case{"background", false, {}}}) {
        std::filesystem::remove_all(paths::primaryQueueDir());
        ActionQueuedListener listener;
        GList* items = testCase.onItems ? fileItems(selection) : backgroundItems(dir);
        NautilusMenuItem* copyFullPath = findItem(items, "复制完整路径");
        ASSERT_NE(copyFullPath, nullptr) << testCase.name;
        nautilus_menu_item_activate(copyFullPath);
        nautilus_menu_item_list_free(items);

        const auto files = queueFiles();
        ASSERT_EQ(files.size(), 1u) << testCase.name;
        std::ifstream in(files.front());
        const auto queued = nlohmann::json::parse(in);
        EXPECT_EQ(queued["actionID"], "copyFullPath") << testCase.name;
        EXPECT_EQ(queued["selectedPaths"], nlohmann::json(testCase.queuedSelection)) << testCase.name;
        EXPECT_EQ(queued["targetedPath"], dir) << testCase.name;
        if (listener.isListening()) {
            EXPECT_TRUE(listener.waitForSignal()) << testCase.name;
        }
    }
}
