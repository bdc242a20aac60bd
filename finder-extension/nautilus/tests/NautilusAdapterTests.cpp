#include "finder-extension/nautilus/NautilusExtension.h"
#include "finder-extension/nautilus/NautilusFileSelection.h"
#include "finder-extension/nautilus/tests/FakeNautilusFileInfo.h"
#include "finder-extension/nautilus/tests/GLibLogCapture.h"
#include "finder-extension/nautilus/tests/RenderedMenuItem.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <stdexcept>

using namespace quilla;
using namespace quilla::test;

namespace {

// Like the core's items, each carries its own copy of the selection.
FinderMenuItem actionItem(std::string title, bool enabled = true,
                          std::vector<std::string> selection = {"/home/u/a.txt", "/home/u/b.txt"}) {
    FinderMenuItem item;
    item.title = std::move(title);
    item.enabled = enabled;
    item.representedObject =
        FinderMenuDictionary{"copyFullPath", item.title, std::move(selection), "", "", ""};
    return item;
}

FinderMenuItem submenuItem(std::string title, std::vector<FinderMenuItem> children) {
    FinderMenuItem item;
    item.title = title;
    item.submenu = std::make_shared<FinderMenu>(FinderMenu{std::move(title), std::move(children)});
    return item;
}

// Two levels, separators at both, a disabled item, an empty submenu (a feature with no presets)
// and submenus whose items cannot run here (a feature that needs a selection, on the background).
FinderMenu sampleMenu() {
    return FinderMenu{
        "Quilla",
        {submenuItem("复制路径",
                     {actionItem("复制完整路径"), FinderMenuItem::makeSeparator(),
                      actionItem("复制名称", false), submenuItem("复制到文件夹", {actionItem("复制到 项目")}),
                      submenuItem("移动到文件夹", {actionItem("移动到 项目", false)})}),
         FinderMenuItem::makeSeparator(), actionItem("在终端中打开"), submenuItem("视图选项", {}),
         submenuItem("处理图片", {actionItem("图片转为 PNG", false), FinderMenuItem::makeSeparator(),
                                  submenuItem("更多", {actionItem("压缩 JPEG 图片", false)})})}};
}

struct Click {
    std::string title;
    NautilusFileSelection selection;
    std::size_t itemSelectionCopy = 0;
};

class NautilusAdapterTest : public ::testing::Test {
protected:
    void SetUp() override {
        GLibLogCapture::install();
        GLibLogCapture::clear();
        extension_ = std::make_unique<NautilusExtension>(
            [this](const NautilusFileSelection& selection, NautilusExtension::Request) {
                ++builds_;
                if (builderThrows_) {
                    throw std::runtime_error("settings exploded");
                }
                lastSelection_ = selection;
                return sampleMenu();
            },
            [this](const FinderMenuItem& item, const NautilusFileSelection& selection) {
                if (handlerThrows_) {
                    throw std::runtime_error("queue exploded");
                }
                const auto* dictionary = std::get_if<FinderMenuDictionary>(&item.representedObject);
                clicks_.push_back({item.title, selection, dictionary ? dictionary->selectedPaths.size() : 0});
            });
    }

    GList* fileItems(const std::vector<std::string>& paths) {
        GList* files = makeFakeFileInfoList(paths);
        GList* items = extension_->fileItems(files);
        freeFileInfoList(files);
        return items;
    }

    GList* backgroundItems(const std::string& folder) {
        NautilusFileInfo* info = makeFakeFileInfoForPath(folder);
        GList* items = extension_->backgroundItems(info);
        g_object_unref(info);
        return items;
    }

    std::unique_ptr<NautilusExtension> extension_;
    int builds_ = 0;
    bool builderThrows_ = false;
    bool handlerThrows_ = false;
    NautilusFileSelection lastSelection_;
    std::vector<Click> clicks_;
};

} // namespace

TEST(NautilusFileSelection, TakesLocalLocationsOnly) {
    struct Case {
        const char* name;
        std::vector<std::string> uris;
        std::optional<NautilusFileSelection> expected;
    };
    const std::vector<Case> cases = {
        {"two files",
         {"file:///home/u/a.txt", "file:///home/u/b%20c.txt"},
         NautilusFileSelection{{"/home/u/a.txt", "/home/u/b c.txt"}, "/home/u"}},
        {"non-UTF-8 bytes are kept",
         {"file:///home/u/%FF%FEx"},
         NautilusFileSelection{{"/home/u/\xFF\xFEx"}, "/home/u"}},
        {"the root has no folder", {"file:///"}, NautilusFileSelection{{"/"}, std::nullopt}},
        {"trash", {"trash:///a.txt"}, std::nullopt},
        {"one remote item spoils the selection", {"file:///home/u/a", "sftp://host/b"}, std::nullopt},
        {"nothing selected", {}, std::nullopt},
    };
    for (const auto& testCase : cases) {
        GList* files = nullptr;
        for (const auto& uri : testCase.uris) {
            files = g_list_append(files, makeFakeFileInfo(uri));
        }
        EXPECT_EQ(NautilusFileSelection::forFiles(files), testCase.expected) << testCase.name;
        freeFileInfoList(files);
    }
}

TEST(NautilusFileSelection, BackgroundHasNoSelectionAndTheFolderAsTarget) {
    NautilusFileInfo* local = makeFakeFileInfo("file:///home/u/%E6%A1%8C%E9%9D%A2");
    NautilusFileInfo* remote = makeFakeFileInfo("recent:///");
    EXPECT_EQ(NautilusFileSelection::forFolder(local), (NautilusFileSelection{{}, "/home/u/桌面"}));
    EXPECT_EQ(NautilusFileSelection::forFolder(remote), std::nullopt);
    EXPECT_EQ(NautilusFileSelection::forFolder(nullptr), std::nullopt);
    g_object_unref(local);
    g_object_unref(remote);
}

TEST_F(NautilusAdapterTest, RendersLabelsSensitivityAndSubmenusWithoutSeparatorsOrNothingToRun) {
    GList* items = fileItems({"/home/u/a.txt"});
    // A disabled item stays (it says what exists); a submenu with nothing enabled at any depth goes.
    const std::vector<RenderedMenuItem> expected = {
        {"复制路径", true,
         std::vector<RenderedMenuItem>{
             {"复制完整路径", true, std::nullopt},
             {"复制名称", false, std::nullopt},
             {"复制到文件夹", true, std::vector<RenderedMenuItem>{{"复制到 项目", true, std::nullopt}}}}},
        {"在终端中打开", true, std::nullopt},
    };
    EXPECT_EQ(describeItems(items), expected);
    EXPECT_EQ(describeItems(items), expectedItems(sampleMenu()));
    EXPECT_EQ(lastSelection_, (NautilusFileSelection{{"/home/u/a.txt"}, "/home/u"}));
    nautilus_menu_item_list_free(items);
}

TEST_F(NautilusAdapterTest, NamesAreUniqueAndStableAcrossRequests) {
    GList* first = fileItems({"/home/u/a.txt"});
    GList* second = fileItems({"/home/u/b.txt", "/home/u/c.txt"});
    GList* background = backgroundItems("/home/u");
    const auto names = itemNames(first);
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(itemNames(second), names);
    for (const auto& name : itemNames(background)) {
        EXPECT_EQ(std::count(names.begin(), names.end(), name), 0) << name;
    }
    nautilus_menu_item_list_free(first);
    nautilus_menu_item_list_free(second);
    nautilus_menu_item_list_free(background);
}

TEST_F(NautilusAdapterTest, ActivationPerformsTheItemForTheSelectionOfItsMenu) {
    GList* fileMenu = fileItems({"/home/u/a.txt", "/home/u/b.txt"});
    GList* backgroundMenu = backgroundItems("/srv/share");
    nautilus_menu_item_activate(findItem(fileMenu, "复制到 项目"));
    nautilus_menu_item_activate(findItem(backgroundMenu, "在终端中打开"));
    nautilus_menu_item_activate(findItem(fileMenu, "复制路径")); // only opens its submenu
    ASSERT_EQ(clicks_.size(), 2u);
    EXPECT_EQ(clicks_[0].title, "复制到 项目");
    EXPECT_EQ(clicks_[0].selection, (NautilusFileSelection{{"/home/u/a.txt", "/home/u/b.txt"}, "/home/u"}));
    EXPECT_EQ(clicks_[1].title, "在终端中打开");
    EXPECT_EQ(clicks_[1].selection, (NautilusFileSelection{{}, "/srv/share"}));
    // Remembered menus keep the selection once, not once per item.
    EXPECT_EQ(clicks_[0].itemSelectionCopy, 0u);
    nautilus_menu_item_list_free(fileMenu);
    nautilus_menu_item_list_free(backgroundMenu);
}

TEST_F(NautilusAdapterTest, RemembersOnlyTheLastMenus) {
    GList* oldest = fileItems({"/home/u/old.txt"});
    for (std::size_t i = 0; i < 3 * NautilusMenuRegistry::capacity; ++i) {
        nautilus_menu_item_list_free(fileItems({"/home/u/f" + std::to_string(i)}));
    }
    GList* newest = fileItems({"/home/u/new.txt"});
    EXPECT_EQ(extension_->rememberedMenuCount(), NautilusMenuRegistry::capacity);

    nautilus_menu_item_activate(findItem(oldest, "在终端中打开"));
    EXPECT_TRUE(clicks_.empty());
    EXPECT_TRUE(GLibLogCapture::contains("no longer remembered"));
    nautilus_menu_item_activate(findItem(newest, "在终端中打开"));
    ASSERT_EQ(clicks_.size(), 1u);
    EXPECT_EQ(clicks_[0].selection.selectedPaths, std::vector<std::string>{"/home/u/new.txt"});
    nautilus_menu_item_list_free(oldest);
    nautilus_menu_item_list_free(newest);
}

TEST_F(NautilusAdapterTest, RequestsWithoutLocalItemsBuildNothing) {
    EXPECT_EQ(fileItems({}), nullptr);
    GList* remote = g_list_append(nullptr, makeFakeFileInfo("smb://server/share/a"));
    EXPECT_EQ(extension_->fileItems(remote), nullptr);
    freeFileInfoList(remote);
    EXPECT_EQ(builds_, 0);
    EXPECT_EQ(extension_->rememberedMenuCount(), 0u);
}

TEST_F(NautilusAdapterTest, ExceptionsStopAtTheBoundaryAndAreLogged) {
    builderThrows_ = true;
    EXPECT_EQ(fileItems({"/home/u/a.txt"}), nullptr);
    EXPECT_EQ(backgroundItems("/home/u"), nullptr);
    EXPECT_TRUE(GLibLogCapture::contains("get_file_items failed: settings exploded"));
    EXPECT_TRUE(GLibLogCapture::contains("get_background_items failed: settings exploded"));

    builderThrows_ = false;
    handlerThrows_ = true;
    GList* items = fileItems({"/home/u/a.txt"});
    nautilus_menu_item_activate(findItem(items, "复制完整路径"));
    EXPECT_TRUE(GLibLogCapture::contains("activate failed: queue exploded"));
    nautilus_menu_item_list_free(items);

    GList* throwing = g_list_append(nullptr, makeThrowingFileInfo());
    EXPECT_EQ(extension_->fileItems(throwing), nullptr);
    EXPECT_TRUE(GLibLogCapture::contains("get_file_items failed: location look-up failed"));
    freeFileInfoList(throwing);
}

// Files owns the returned items and each submenu owns its items: the adapter must keep no
// reference of its own, or every menu would leak a whole tree instead of what Files leaks itself.
// Items carry an ID only: no signal handler (Files leaks them with the items).
TEST_F(NautilusAdapterTest, OwnersHoldTheOnlyReferences) {
    GList* items = fileItems({"/home/u/a.txt"});
    int objects = 0;
    forEachObject(items, [&](GObject* object) {
        ++objects;
        EXPECT_EQ(object->ref_count, 1u) << G_OBJECT_TYPE_NAME(object);
        if (NAUTILUS_IS_MENU_ITEM(object)) {
            EXPECT_FALSE(g_signal_has_handler_pending(
                object, g_signal_lookup("activate", NAUTILUS_TYPE_MENU_ITEM), 0, TRUE));
        }
    });
    EXPECT_EQ(objects, 8); // 6 items and 2 submenus
    nautilus_menu_item_list_free(items);
}

TEST_F(NautilusAdapterTest, ClicksReachOnlyTheExtensionThatMadeTheItem) {
    int otherClicks = 0;
    NautilusExtension other(
        [](const NautilusFileSelection&, NautilusExtension::Request) { return sampleMenu(); },
        [&](const FinderMenuItem&, const NautilusFileSelection&) { ++otherClicks; });
    GList* ours = fileItems({"/home/u/a.txt"});
    NautilusMenuItem* foreign = nautilus_menu_item_new("OtherExtension::Item", "别的扩展", nullptr, nullptr);
    nautilus_menu_item_activate(findItem(ours, "在终端中打开"));
    nautilus_menu_item_activate(foreign);
    EXPECT_EQ(clicks_.size(), 1u);
    EXPECT_EQ(otherClicks, 0);
    EXPECT_FALSE(GLibLogCapture::contains("no longer remembered"));

    // Items stay in Files after the provider is gone; clicking them then does nothing.
    extension_.reset();
    nautilus_menu_item_activate(findItem(ours, "在终端中打开"));
    EXPECT_EQ(clicks_.size(), 1u);
    g_object_unref(foreign);
    nautilus_menu_item_list_free(ours);
}
