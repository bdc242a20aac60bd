#include "app/core/preferences/AppVersion.h"
#include "app/ui/DisplayProbe.h"
#include "app/ui/QuillaLaunchOptions.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace quilla;

TEST(QuillaLaunchOptions, ModesFlagsAndURLs) {
    struct Case {
        std::vector<std::string> arguments;
        QuillaLaunchOptions::Mode mode;
        bool loginItem;
        std::vector<std::string> urls;
    };
    using M = QuillaLaunchOptions::Mode;
    const std::vector<Case> cases = {
        {{}, M::standard, false, {}},
        {{"--headless"}, M::headless, false, {}},
        {{"--login-item"}, M::standard, true, {}},
        {{"--headless", "--login-item", "quilla://finder-action?id=copyFullPath"},
         M::headless,
         true,
         {"quilla://finder-action?id=copyFullPath"}},
        // Qt's own options and plain words are left alone; a path or a drive-letter lookalike is no URL.
        {{"-platform", "offscreen", "/tmp/a:b", "c:/x", "x-y+z.1:rest", "", "-"},
         M::standard,
         false,
         {"x-y+z.1:rest"}},
    };
    for (const auto& c : cases) {
        const auto options = QuillaLaunchOptions::parse(c.arguments);
        EXPECT_EQ(options.mode, c.mode);
        EXPECT_EQ(options.loginItem, c.loginItem);
        EXPECT_EQ(options.urls, c.urls);
        EXPECT_EQ(options.arguments, c.arguments); // the login check sees every argument as given
    }
    EXPECT_TRUE(QuillaLaunchOptions::parse({"-h"}).help);
    EXPECT_TRUE(QuillaLaunchOptions::parse({"--headless", "--version"}).version);
    EXPECT_FALSE(QuillaLaunchOptions::parse({"--versions", "version"}).version);
    EXPECT_TRUE(QuillaLaunchOptions::versionLine().starts_with("quilla " + AppVersion::shortVersion()))
        << QuillaLaunchOptions::versionLine();
}

namespace {

// An X server stand-in: something listening where a local display's socket would be.
class FakeXServer final {
public:
    explicit FakeXServer(int number) {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        const std::string name = "/tmp/.X11-unix/X" + std::to_string(number);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size()); // abstract namespace
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        listening_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(fd_, 4) == 0;
    }
    ~FakeXServer() { ::close(fd_); }
    bool listening() const { return listening_; }

private:
    int fd_ = -1;
    bool listening_ = false;
};

} // namespace

TEST(DisplayProbe, LocalXDisplaysMustAnswerRemoteOnesAreTrusted) {
    const int number = 40000 + static_cast<int>(::getpid() % 20000);
    FakeXServer server(number);
    ASSERT_TRUE(server.listening());
    const std::string n = std::to_string(number);
    EXPECT_TRUE(DisplayProbe::x11DisplayAccepts(":" + n));
    EXPECT_TRUE(DisplayProbe::x11DisplayAccepts(":" + n + ".0"));
    EXPECT_TRUE(DisplayProbe::x11DisplayAccepts("unix:" + n));
    EXPECT_FALSE(DisplayProbe::x11DisplayAccepts(":" + std::to_string(number + 1)));
    EXPECT_FALSE(DisplayProbe::x11DisplayAccepts(":abc"));
    EXPECT_FALSE(DisplayProbe::x11DisplayAccepts(":"));
    EXPECT_TRUE(DisplayProbe::x11DisplayAccepts("buildhost:0"));
    EXPECT_FALSE(DisplayProbe::x11DisplayAccepts(""));
}

TEST(DisplayProbe, EnvironmentDecides) {
    test::ScopedHome home; // a runtime folder of our own for the Wayland socket
    const int dead = 60000 + static_cast<int>(::getpid() % 5000);
    test::ScopedEnv qpa("QT_QPA_PLATFORM", std::nullopt);
    test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
    test::ScopedEnv x11("DISPLAY", std::nullopt);
    EXPECT_FALSE(DisplayProbe::available());
    {
        test::ScopedEnv deadX("DISPLAY", ":" + std::to_string(dead));
        std::string why;
        EXPECT_FALSE(DisplayProbe::available(&why));
        EXPECT_NE(why.find("does not answer"), std::string::npos);
        test::ScopedEnv chosen("QT_QPA_PLATFORM", "offscreen");
        EXPECT_TRUE(DisplayProbe::available());
    }
    {
        test::ScopedEnv named("WAYLAND_DISPLAY", "wayland-test");
        EXPECT_FALSE(DisplayProbe::available());
        test::TempDir unused;
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        ASSERT_NE(runtime, nullptr);
        std::filesystem::create_directories(runtime);
        { std::ofstream(std::string(runtime) + "/wayland-test") << ""; }
        EXPECT_TRUE(DisplayProbe::available());
    }
}

TEST(DisplayProbe, WaylandSessionsWithXWaylandRunOnX11UnlessTheUserChose) {
    const int number = 45000 + static_cast<int>(::getpid() % 15000);
    FakeXServer xwayland(number);
    ASSERT_TRUE(xwayland.listening());
    const std::string display = ":" + std::to_string(number);
    test::ScopedEnv qpa("QT_QPA_PLATFORM", std::nullopt);
    test::ScopedEnv session("XDG_SESSION_TYPE", std::nullopt);
    test::ScopedEnv wayland("WAYLAND_DISPLAY", "wayland-0");
    test::ScopedEnv x11("DISPLAY", display);
    EXPECT_EQ(DisplayProbe::platformForSession(), "xcb");
    {
        test::ScopedEnv chosen("QT_QPA_PLATFORM", "wayland");
        EXPECT_EQ(DisplayProbe::platformForSession(), std::nullopt);
    }
    {
        // Without XWayland the application stays a Wayland client (copies need focus there).
        test::ScopedEnv noX("DISPLAY", ":" + std::to_string(number + 1));
        EXPECT_EQ(DisplayProbe::platformForSession(), std::nullopt);
    }
    {
        test::ScopedEnv noSocketName("WAYLAND_DISPLAY", std::nullopt);
        EXPECT_EQ(DisplayProbe::platformForSession(), std::nullopt); // a plain X session: Qt decides
        test::ScopedEnv typed("XDG_SESSION_TYPE", "wayland");
        EXPECT_EQ(DisplayProbe::platformForSession(), "xcb");
    }
}
