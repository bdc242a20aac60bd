// A view preset against a real GNOME Files: Xvfb for the display, a session bus of the test's
// own and the key-file settings back end in the test's own config folder, so
// Files and the test share settings without touching the developer's. Skipped, with the reason,
// where Files, Xvfb or a session bus is missing.
#include "app/platform/linux/GSettingsFinderScripting.h"
#include "app/platform/linux/NautilusWindows.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TestEnv.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using namespace quilla;
namespace fs = std::filesystem;

namespace {

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return condition();
}

// A child process this test started, stopped by its own id when the test ends.
class Child final {
public:
    Child(const std::vector<std::string>& argv, int outputFd = -1) {
        std::vector<char*> args;
        for (const auto& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        if (outputFd >= 0) {
            posix_spawn_file_actions_adddup2(&actions, outputFd, 3);
        }
        if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            int status = 0;
            ::waitpid(pid_, &status, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    bool started() const { return pid_ > 0; }

private:
    pid_t pid_ = -1;
};

// Runs `argv` with descriptor 3 as the write end of a pipe and returns the first line it writes
// there: how Xvfb (-displayfd) and dbus-daemon (--print-address) say where they listen.
std::optional<std::string> startAndReadLine(std::unique_ptr<Child>& child,
                                            const std::vector<std::string>& argv) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return std::nullopt;
    }
    child = std::make_unique<Child>(argv, fds[1]);
    ::close(fds[1]);
    std::string line;
    char c = 0;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') {
        line += c;
    }
    ::close(fds[0]);
    if (!child->started() || line.empty()) {
        return std::nullopt;
    }
    return line;
}

// A session bus of this test process alone, so that no other test (whose folder openings may
// start a Files of their own) shares the Files under test. Set up before any test uses the bus.
class PrivateSessionBus final : public ::testing::Environment {
public:
    void SetUp() override {
        const auto address =
            startAndReadLine(daemon_, {"dbus-daemon", "--session", "--nofork", "--print-address=3"});
        if (address) {
            ::setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);
        }
    }
    void TearDown() override { daemon_.reset(); }

private:
    std::unique_ptr<Child> daemon_;
};

[[maybe_unused]] const auto* const kBus = ::testing::AddGlobalTestEnvironment(new PrivateSessionBus);

// What Files wrote to the shared key file (read from disk: this process's settings client would
// only notice the change while running a main loop).
std::string storedViewer() {
    GKeyFile* file = g_key_file_new();
    std::string value;
    const auto path = paths::configHome() / "glib-2.0" / "settings" / "keyfile";
    if (g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr)) {
        if (gchar* text = g_key_file_get_value(file, "org/gnome/nautilus/preferences",
                                               "default-folder-viewer", nullptr)) {
            value = text;
            g_free(text);
        }
    }
    g_key_file_free(file);
    return value;
}

void setStoredViewer(const char* viewer) {
    GSettings* settings = g_settings_new("org.gnome.nautilus.preferences");
    g_settings_set_string(settings, "default-folder-viewer", viewer);
    g_settings_sync();
    g_object_unref(settings);
}

bool onPath(const char* program) {
    gchar* found = g_find_program_in_path(program);
    g_free(found);
    return found != nullptr;
}

class FilesWindowView : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* program : {"nautilus", "Xvfb"}) {
            if (!onPath(program)) {
                GTEST_SKIP() << program << " is not installed; the open-window view change is not tested";
            }
        }
        if (!g_getenv("DBUS_SESSION_BUS_ADDRESS") ||
            !(bus_ = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr))) {
            GTEST_SKIP() << "no session bus (run under dbus-run-session)";
        }
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        GSettingsSchema* schema =
            source ? g_settings_schema_source_lookup(source, "org.gnome.nautilus.preferences", TRUE)
                   : nullptr;
        if (!schema) {
            GTEST_SKIP() << "the Files settings schema is not installed";
        }
        g_settings_schema_unref(schema);
        const auto number = startAndReadLine(
            xvfb_, {"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
        const auto display = number ? std::optional<std::string>(":" + *number) : std::nullopt;
        if (!display) {
            GTEST_SKIP() << "Xvfb did not start";
        }
        display_.emplace("DISPLAY", *display);
        gdk_.emplace("GDK_BACKEND", "x11");
        folder_ = paths::home() / "项目" / "子文件夹";
        fs::create_directories(folder_);
        setStoredViewer("icon-view");
        files_ =
            std::make_unique<Child>(std::vector<std::string>{"nautilus", "--new-window", folder_.string()});
        if (!waitFor([&] { return !NautilusWindows::windowPaths(bus_).empty(); }, std::chrono::seconds(30))) {
            GTEST_SKIP() << "Files did not open a window on the test display";
        }
        window_ = NautilusWindows::windowPaths(bus_).front();
        // Files reads its settings and loads the folder a while after the window appears.
        std::this_thread::sleep_for(std::chrono::seconds(5));
    }

    void TearDown() override {
        if (bus_) {
            GError* error = nullptr;
            GVariant* reply = g_dbus_connection_call_sync(
                bus_, NautilusWindows::kBusName, "/org/gnome/Nautilus", "org.gtk.Actions", "Activate",
                g_variant_new("(s@av@a{sv})", "quit", g_variant_new_array(G_VARIANT_TYPE_VARIANT, nullptr, 0),
                              g_variant_new_array(G_VARIANT_TYPE("{sv}"), nullptr, 0)),
                nullptr, G_DBUS_CALL_FLAGS_NO_AUTO_START, 2000, nullptr, &error);
            g_clear_error(&error);
            if (reply) {
                g_variant_unref(reply);
            }
        }
        files_.reset();
        xvfb_.reset();
        if (bus_) {
            g_object_unref(bus_);
        }
    }

    // Navigating makes Files write the view of the window to the settings: the witness of what
    // the window shows.
    std::string viewerAfterNavigating() {
        EXPECT_TRUE(NautilusWindows::activate(bus_, window_, "up"));
        std::string viewer;
        waitFor(
            [&] {
                viewer = storedViewer();
                return viewer == "'icon-view'";
            },
            std::chrono::seconds(3));
        return viewer;
    }

    GDBusConnection* bus_ = nullptr;
    std::unique_ptr<Child> xvfb_;
    std::unique_ptr<Child> files_;
    std::optional<test::ScopedEnv> display_;
    std::optional<test::ScopedEnv> gdk_;
    fs::path folder_;
    std::string window_;
};

} // namespace

// First, while no Files runs on this bus.
TEST(NautilusWindowsWithoutFiles, NothingRunningMeansNothingDone) {
    // No Files on this bus (or no bus at all): the view change is the settings alone, and Files is
    // not started for it.
    EXPECT_TRUE(NautilusWindows::reopenShownTabs().empty());
}

TEST_F(FilesWindowView, PresetChangesTheViewOfTheOpenWindow) {
    // The settings alone reach only new views: the open window keeps icons and writes them back.
    setStoredViewer("list-view");
    std::this_thread::sleep_for(std::chrono::milliseconds(2500)); // Files' settings client notices
    if (viewerAfterNavigating() != "'icon-view'") {
        GTEST_SKIP() << "this Files shows new defaults in open windows by itself (it wrote " << storedViewer()
                     << ")";
    }
    ASSERT_TRUE(NautilusWindows::activate(bus_, window_, "back"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    GSettingsFinderScripting scripting;
    scripting.applyView(FinderViewMode::list, FinderSortMode::modificationDate);

    ASSERT_EQ(scripting.lastWindowLines().size(), 1U);
    EXPECT_EQ(scripting.lastWindowLines().front(), window_ + ": shown in a new tab");
    EXPECT_EQ(NautilusWindows::windowPaths(bus_), std::vector<std::string>{window_}); // no new window
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(viewerAfterNavigating(), "'list-view'") << "the open window still shows icons";
}
