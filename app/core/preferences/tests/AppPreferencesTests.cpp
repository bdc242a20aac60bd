#include "app/core/platform/LoginItem.h"
#include "app/core/preferences/AppPreferencesPersistence.h"
#include "app/core/preferences/AppPreferencesStore.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

/// A login item whose state and failures the test decides.
class FakeLoginItem final : public LoginItem {
public:
    bool isEnabled() const override { return enabled; }
    bool registerItem(std::string* error) override { return change(true, error); }
    bool unregisterItem(std::string* error) override { return change(false, error); }

    bool enabled = false;
    bool fails = false;
    int changes = 0;

private:
    bool change(bool value, std::string* error) {
        ++changes;
        if (fails) {
            if (error)
                *error = "not approved";
            return false;
        }
        enabled = value;
        return true;
    }
};

void writePreferencesFile(const std::string& text) {
    fs::create_directories(AppPreferencesPersistence::fileURL().parent_path());
    std::FILE* file = std::fopen(AppPreferencesPersistence::fileURL().c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs(text.c_str(), file);
    std::fclose(file);
}

void writePreferences(const std::string& dictBody) {
    writePreferencesFile("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>" +
                         dictBody + "</dict></plist>\n");
}

} // namespace

TEST(AppPreferencesPersistence, MissingOrDamagedFilesGiveDefaultsKeyByKey) {
    test::ScopedHome home;
    EXPECT_EQ(AppPreferencesPersistence::load(), AppPreferences{});

    writePreferencesFile("not a property list");
    EXPECT_EQ(AppPreferencesPersistence::load(), AppPreferences{});

    // A wrong type falls back for that key alone.
    writePreferences("<key>revealActionResults</key><string>no</string>"
                     "<key>revealCreatedItems</key><integer>1</integer>"
                     "<key>launchAtLogin</key><true/>");
    EXPECT_EQ(
        AppPreferencesPersistence::load(),
        (AppPreferences{.revealCreatedItems = false, .revealActionResults = true, .launchAtLogin = true}));

    // A root that is not a dictionary.
    writePreferencesFile("<?xml version=\"1.0\"?><plist version=\"1.0\"><array><true/></array></plist>");
    EXPECT_EQ(AppPreferencesPersistence::load(), AppPreferences{});
}

TEST(AppPreferencesPersistence, SavesAnXMLPropertyListOthersCanRead) {
    test::ScopedHome home;
    AppPreferencesPersistence::save(
        {.revealCreatedItems = true, .revealActionResults = false, .launchAtLogin = true});
    std::string output;
    const int status = test::runPython("import plistlib\nd = plistlib.load(open('" +
                                           AppPreferencesPersistence::fileURL().string() +
                                           "', 'rb'))\n"
                                           "print(sorted(d.items()))\n",
                                       &output);
    EXPECT_EQ(status, 0) << output;
    EXPECT_EQ(output,
              "[('launchAtLogin', True), ('notifyOnActionFailure', True), ('revealActionResults', False), "
              "('revealCreatedItems', True)]\n");
}

TEST(AppPreferencesPersistence, FailureNotificationsDefaultOnForOlderFilesAndFollowTheSwitch) {
    test::ScopedHome home;
    // A file written before the key existed keeps its values and notifies.
    writePreferences("<key>revealCreatedItems</key><true/><key>revealActionResults</key><false/>");
    EXPECT_EQ(AppPreferencesPersistence::load(),
              (AppPreferences{
                  .revealCreatedItems = true, .revealActionResults = false, .notifyOnActionFailure = true}));
    writePreferences("<key>notifyOnActionFailure</key><string>off</string>");
    EXPECT_TRUE(AppPreferencesPersistence::load().notifyOnActionFailure);

    FakeLoginItem item;
    AppPreferencesStore store(item);
    int changes = 0;
    store.observe([&] { ++changes; });
    store.setNotifyOnActionFailure(false);
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(store.notifyOnActionFailure());
    EXPECT_FALSE(AppPreferencesPersistence::load().notifyOnActionFailure);
    store.setNotifyOnActionFailure(true);
    EXPECT_TRUE(AppPreferencesPersistence::load().notifyOnActionFailure);
}

TEST(AppPreferencesStore, LaunchAtLoginFollowsTheSystemAtStart) {
    struct Case {
        bool systemEnabled;
        std::optional<bool> savedLaunchAtLogin; // nothing = no file
        bool expectFileWritten;
    };
    const Case cases[] = {
        {false, std::nullopt, false}, // first start, login item off: nothing to write
        {true, std::nullopt, true},   // first start, login item on: the file records it
        {false, true, true},          // the user removed the autostart entry meanwhile
        {true, true, false},          // file and system agree
    };
    for (const auto& c : cases) {
        test::ScopedHome home;
        if (c.savedLaunchAtLogin) {
            writePreferences(std::string("<key>revealCreatedItems</key><true/><key>launchAtLogin</key>") +
                             (*c.savedLaunchAtLogin ? "<true/>" : "<false/>"));
        }
        const auto before = fs::exists(AppPreferencesPersistence::fileURL())
                                ? fs::last_write_time(AppPreferencesPersistence::fileURL())
                                : fs::file_time_type::min();
        FakeLoginItem item;
        item.enabled = c.systemEnabled;
        AppPreferencesStore store(item);
        EXPECT_EQ(store.launchAtLogin(), c.systemEnabled);
        EXPECT_EQ(store.revealCreatedItems(), c.savedLaunchAtLogin.has_value());
        EXPECT_EQ(store.revealActionResults(), true);
        EXPECT_EQ(item.changes, 0);
        const bool exists = fs::exists(AppPreferencesPersistence::fileURL());
        if (c.expectFileWritten) {
            ASSERT_TRUE(exists);
            EXPECT_EQ(AppPreferencesPersistence::load().launchAtLogin, c.systemEnabled);
        } else if (exists) {
            EXPECT_EQ(fs::last_write_time(AppPreferencesPersistence::fileURL()), before);
        }
    }
}

TEST(AppPreferencesStore, RevealChoicesAreSavedAtOnceAndAnnounced) {
    test::ScopedHome home;
    FakeLoginItem item;
    AppPreferencesStore store(item);
    int changes = 0;
    store.observe([&] { ++changes; });
    store.setRevealCreatedItems(true);
    store.setRevealActionResults(false);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(
        AppPreferencesPersistence::load(),
        (AppPreferences{.revealCreatedItems = true, .revealActionResults = false, .launchAtLogin = false}));
}

TEST(AppPreferencesStore, TurningOnWhenAlreadyEnabledOnlySaves) {
    test::ScopedHome home;
    FakeLoginItem item;
    AppPreferencesStore store(item);
    item.enabled = true; // enabled behind the store's back
    store.setLaunchAtLogin(true);
    EXPECT_EQ(item.changes, 0);
    EXPECT_TRUE(AppPreferencesPersistence::load().launchAtLogin);

    store.setLaunchAtLogin(false);
    EXPECT_EQ(item.changes, 1);
    EXPECT_FALSE(item.enabled);
    EXPECT_FALSE(AppPreferencesPersistence::load().launchAtLogin);
}

TEST(AppPreferencesStore, AFailedChangeRollsBackSilentlyWithoutWriting) {
    test::ScopedHome home;
    FakeLoginItem item;
    item.fails = true;
    AppPreferencesStore store(item);
    std::vector<std::pair<bool, bool>> seen; // (value, rolling back) at each notification
    store.observe([&] { seen.emplace_back(store.launchAtLogin(), store.isRollingBackLaunchAtLogin()); });

    store.setLaunchAtLogin(true);
    EXPECT_EQ(item.changes, 1); // one attempt; the roll-back itself asks nothing
    EXPECT_FALSE(store.launchAtLogin());
    EXPECT_FALSE(store.isRollingBackLaunchAtLogin());
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{true, false}, {false, true}}));
    EXPECT_FALSE(fs::exists(AppPreferencesPersistence::fileURL()));

    // Assigning the same value again asks the system nothing.
    store.setLaunchAtLogin(false);
    EXPECT_EQ(item.changes, 1);
}
