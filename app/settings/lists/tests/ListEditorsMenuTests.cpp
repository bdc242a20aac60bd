// What a user does in the list editors shows in the file manager's menu: the extension's host
// (quilla-finder) reads the copies the stores write, as the Nautilus module does at the next
// right-click.
#include "app/core/lists/CustomDestinationStore.h"
#include "app/core/lists/CustomShortcutActionStore.h"
#include "app/core/lists/FinderViewPresetStore.h"
#include "app/core/lists/tests/ListsTestSupport.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/lists/CustomDestinationSection.h"
#include "app/settings/lists/CustomShortcutActionSection.h"
#include "app/settings/lists/FinderViewPresetRow.h"
#include "app/settings/lists/FinderViewPresetSection.h"
#include "app/settings/lists/tests/ListEditorsTestSupport.h"
#include "tests/support/TestEnv.h"

#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

// The menu as quilla-finder prints it (one item a line, submenu items indented).
std::string fileManagerMenu() {
    const char* binaryDir = std::getenv("QUILLA_BINARY_DIR");
    const std::string command =
        "'" + std::string(binaryDir ? binaryDir : ".") + "/bin/quilla-finder' menu 2>/dev/null";
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (const auto n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
            out.append(buffer.data(), n);
        }
        ::pclose(pipe);
    }
    return out;
}

// Whether `first` is printed before `second` in the menu (both present).
bool before(const std::string& menu, const std::string& first, const std::string& second) {
    const auto a = menu.find(first);
    const auto b = menu.find(second);
    return a != std::string::npos && b != std::string::npos && a < b;
}

} // namespace

TEST(ListEditorsMenuTest, WhatTheEditorsChangeIsInTheNextMenu) {
    test::ensureQtApplication();
    test::ScopedHome home;
    test::ScopedEnv noBus{"DBUS_SESSION_BUS_ADDRESS", std::nullopt};
    RecordingSettingsChangeNotifier notifier;
    CustomDestinationPersistence destinationPersistence{notifier};
    CustomDestinationStore destinations{destinationPersistence};
    CustomShortcutActionPersistence actionPersistence{notifier};
    CustomShortcutActionStore actions{actionPersistence};
    FinderViewPresetPersistence presetPersistence{notifier};
    FinderViewPresetStore presets{presetPersistence};
    test::FakeListPrompts prompts;

    CustomDestinationSection copyTo(CustomDestinationKind::copy, destinations, prompts, {});
    for (const char* name : {"季度报告", "归档"}) {
        prompts.folderAnswer = home.home() / name;
        fs::create_directories(*prompts.folderAnswer);
        copyTo.addButtonWidget()->click();
    }
    std::string menu = fileManagerMenu();
    EXPECT_TRUE(before(menu, "    复制到季度报告\n", "    复制到归档\n")) << menu;

    test::dragRow(&copyTo, static_cast<int>(copyTo.rowList()->rows().size()) - 1, 0);
    menu = fileManagerMenu();
    EXPECT_TRUE(before(menu, "    复制到归档\n", "    复制到季度报告\n")) << menu;

    CustomShortcutActionSection custom(actions, prompts, {});
    prompts.scriptAnswer = home.home() / "tidy.sh";
    test::writeFile(*prompts.scriptAnswer, "#!/bin/sh\n");
    custom.addScriptButton()->click();
    EXPECT_NE(fileManagerMenu().find("  " + actions.actions().front().name + " [disabled]\n"),
              std::string::npos)
        << fileManagerMenu();
    actions.update(actions.actions().front(), "整理");
    EXPECT_NE(fileManagerMenu().find("  整理 [disabled]\n"), std::string::npos) << fileManagerMenu();

    FinderViewPresetSection views(presets, {});
    views.addPresetButton()->click();
    auto* row = static_cast<FinderViewPresetRow*>(views.rowList()->rows().back());
    row->viewPicker()->setCurrentIndex(row->viewPicker()->findText("图标视图"));
    Q_EMIT row->viewPicker()->activated(row->viewPicker()->currentIndex());
    EXPECT_EQ(presets.presets().back().name, "图标 · 按修改日期");
    EXPECT_NE(fileManagerMenu().find("  图标 · 按修改日期\n"), std::string::npos) << fileManagerMenu();

    test::clickRemove(&copyTo, 0); // the folder dragged to the top
    const std::string after = fileManagerMenu();
    EXPECT_EQ(after.find("复制到归档"), std::string::npos) << after;
    EXPECT_NE(after.find("    复制到季度报告\n"), std::string::npos) << after;
}
