#include "app/core/lists/CustomDestinationStore.h"
#include "app/core/lists/CustomShortcutActionStore.h"
#include "app/platform/qt/ApplicationChooserDialog.h"
#include "app/platform/qt/DesktopEntryListModel.h"
#include "app/platform/qt/QtListPrompts.h"
#include "app/platform/qt/ShortcutPickerDialog.h"
#include "app/platform/qt/tests/QtTestSupport.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

QString qt(const fs::path& path) {
    return QString::fromStdString(path.string());
}

DesktopEntry entry(const fs::path& path, std::string name, std::string icon = {}) {
    DesktopEntry result;
    result.path = path;
    result.name = std::move(name);
    result.icon = std::move(icon);
    return result;
}

QStringList names(const QAbstractItemModel& model) {
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row) {
        result << model.index(row, 0).data().toString();
    }
    return result;
}

QPushButton* buttonWithText(QWidget* dialog, const QString& text) {
    for (auto* button : dialog->findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

// Clicks later, so the click's own modal loop does not run inside the answering timer.
void clickSoon(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QTimer::singleShot(0, button, &QAbstractButton::click);
}

template <typename T> bool is(QWidget* widget) {
    return dynamic_cast<T*>(widget) != nullptr;
}

class ListChoosersTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }

    test::ScopedHome home; // each test its own shortcuts folder
    test::TempDir dir;
    std::vector<fs::path> opened;
    std::vector<DesktopEntry> installed;
    QtListPrompts prompts{[this](const fs::path& folder) { opened.push_back(folder); },
                          [this] { return installed; }};
};

} // namespace

TEST_F(ListChoosersTest, ApplicationModelSortsByNameAndSearchesNameAndFileName) {
    DesktopEntryListModel model({entry("/a/org.gnome.TextEditor.desktop", "文本编辑器"),
                                 entry("/a/tool10.desktop", "Tool 10"), entry("/a/tool9.desktop", "tool 9"),
                                 entry("/a/nameless.desktop", "")});
    EXPECT_EQ(names(model).mid(0, 3), (QStringList{"nameless", "tool 9", "Tool 10"}));
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(model.index(1, 0).data(DesktopEntryListModel::pathRole).toString(), "/a/tool9.desktop");

    const std::pair<QString, QStringList> searches[] = {
        {"TOOL", {"tool 9", "Tool 10"}},
        {"  texteditor ", {"文本编辑器"}}, // the file name counts, case and blanks do not
        {"编辑", {"文本编辑器"}},
        {"nothing", {}},
        {"", {"nameless", "tool 9", "Tool 10", "文本编辑器"}},
    };
    for (const auto& [text, expected] : searches) {
        model.setSearchText(text);
        QStringList shown = names(model);
        shown.sort();
        QStringList want = expected;
        want.sort();
        EXPECT_EQ(shown, want) << text.toStdString();
    }
    EXPECT_FALSE(model.index(7, 0).data().isValid());
}

TEST_F(ListChoosersTest, ApplicationIconComesFromAnAbsoluteFileWhenTheEntryNamesOne) {
    const auto png = dir / "icon.png";
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(qt(png)));
    EXPECT_FALSE(
        DesktopEntryListModel::iconFor(entry("/a/x.desktop", "X", png.string())).availableSizes().isEmpty());
    // A missing file or unknown theme name never crashes; it gets the generic icon (maybe none here).
    DesktopEntryListModel::iconFor(entry("/a/y.desktop", "Y", (dir / "missing.png").string()));
    DesktopEntryListModel::iconFor(entry("/a/z.desktop", "Z", "no-such-theme-icon"));
}

TEST_F(ListChoosersTest, ApplicationChooserAnswersTheSearchedEntryAndCancelAnswersNothing) {
    installed = {entry(dir / "editor.desktop", "Fancy Editor"), entry(dir / "viewer.desktop", "Viewer")};
    const auto options = CustomDestinationStore::panelOptions(CustomDestinationKind::openApplication);
    QWidget window;
    prompts.setDialogParent(&window);
    QWidget* parentSeen = nullptr;
    QString titleSeen;
    {
        test::ModalAnswerer answerer([&](QWidget* dialog) {
            parentSeen = dialog->parentWidget();
            titleSeen = dialog->windowTitle();
            dialog->findChild<QLineEdit*>(ApplicationChooserDialog::searchFieldName)->setText("view");
            clickSoon(buttonWithText(dialog, "添加"));
        });
        EXPECT_EQ(prompts.chooseApplication(options), dir / "viewer.desktop");
    }
    EXPECT_EQ(parentSeen, &window);
    EXPECT_EQ(titleSeen, "选择常用应用");
    {
        test::ModalAnswerer answerer([&](QWidget* dialog) { clickSoon(buttonWithText(dialog, "取消")); });
        EXPECT_FALSE(prompts.chooseApplication(options));
    }
    {
        // A search that finds nothing leaves nothing to add: the confirm button stays off.
        bool confirmEnabled = true;
        test::ModalAnswerer answerer([&](QWidget* dialog) {
            dialog->findChild<QLineEdit*>(ApplicationChooserDialog::searchFieldName)->setText("zzz");
            confirmEnabled = buttonWithText(dialog, "添加")->isEnabled();
            static_cast<QDialog*>(dialog)->reject();
        });
        EXPECT_FALSE(prompts.chooseApplication(options));
        EXPECT_FALSE(confirmEnabled);
    }
}

TEST_F(ListChoosersTest, OtherAcceptsOnlyAnExistingDesktopFile) {
    const auto script = dir.write("run.sh", "#!/bin/sh\n");
    const auto desktop = dir.write("mine.desktop", "[Desktop Entry]\nName=Mine\n");
    bool retried = false;
    QString errorSeen;
    test::ModalAnswerer chooser(
        [](QWidget* d) { clickSoon(d->findChild<QPushButton*>(ApplicationChooserDialog::otherButtonName)); },
        is<ApplicationChooserDialog>);
    test::ModalAnswerer wrongFile([&](QWidget* d) { test::pickInFileDialog(d, script); }, is<QFileDialog>);
    test::ModalAnswerer chooserAgain(
        [&](QWidget* d) {
            errorSeen = d->findChild<QLabel*>(ApplicationChooserDialog::errorLabelName)->text();
            retried = true;
            clickSoon(d->findChild<QPushButton*>(ApplicationChooserDialog::otherButtonName));
        },
        [&](QWidget* d) {
            return is<ApplicationChooserDialog>(d) && wrongFile.answered() &&
                   d->findChild<QLabel*>(ApplicationChooserDialog::errorLabelName)->isVisible();
        });
    test::ModalAnswerer rightFile([&](QWidget* d) { test::pickInFileDialog(d, desktop); },
                                  [&](QWidget* d) { return is<QFileDialog>(d) && retried; });

    EXPECT_EQ(prompts.chooseApplication(
                  CustomDestinationStore::panelOptions(CustomDestinationKind::openApplication)),
              desktop);
    EXPECT_EQ(errorSeen, "请选择一个应用的 .desktop 文件。");
}

TEST_F(ListChoosersTest, FolderAndScriptChoosersShowTheirPanelAndCancelAnswersNothing) {
    const auto folder = dir / "目标";
    fs::create_directories(folder);
    const auto script = dir.write("tidy.py", "print()\n");
    struct Case {
        OpenPanelOptions options;
        fs::path pick;
        QFileDialog::FileMode mode;
        QStringList filters;
        bool readOnly;
    };
    const Case cases[] = {
        {CustomDestinationStore::panelOptions(CustomDestinationKind::copy),
         folder,
         QFileDialog::Directory,
         {},
         false},
        {CustomShortcutActionStore::scriptPanelOptions(),
         script,
         QFileDialog::ExistingFile,
         {"*.sh *.bash *.zsh *.py", "所有文件 (*)"},
         true},
    };
    for (const auto& c : cases) {
        QFileDialog* seen = nullptr;
        QString title, accept;
        QStringList filters;
        QFileDialog::FileMode mode{};
        bool readOnly = false;
        QString startedIn;
        {
            test::ModalAnswerer answerer([&](QWidget* d) {
                seen = qobject_cast<QFileDialog*>(d);
                title = seen->windowTitle();
                accept = seen->labelText(QFileDialog::Accept);
                mode = seen->fileMode();
                filters = seen->nameFilters();
                readOnly = seen->testOption(QFileDialog::ReadOnly);
                startedIn = seen->directory().absolutePath();
                test::pickInFileDialog(d, c.pick);
            });
            const bool folders = c.mode == QFileDialog::Directory;
            EXPECT_EQ(folders ? prompts.chooseFolder(c.options) : prompts.chooseScriptFile(c.options),
                      c.pick);
        }
        EXPECT_EQ(title.toStdString(), c.options.title);
        EXPECT_EQ(accept, "添加");
        EXPECT_EQ(mode, c.mode);
        if (!c.filters.isEmpty()) {
            EXPECT_EQ(filters, c.filters);
        }
        EXPECT_EQ(readOnly, c.readOnly);
        EXPECT_EQ(startedIn, qt(paths::home()));
        {
            test::ModalAnswerer answerer([](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
            EXPECT_FALSE(c.mode == QFileDialog::Directory ? prompts.chooseFolder(c.options)
                                                          : prompts.chooseScriptFile(c.options));
        }
    }
}

TEST_F(ListChoosersTest, ShortcutPickerOffersTheNamesAndAnswersTheTextAsBothNames) {
    const auto options = CustomShortcutActionStore::pickerOptions({"Backup", "Zip Them"});
    QStringList items;
    QString preset;
    QSize size;
    bool folderOffered = true;
    {
        test::ModalAnswerer answerer([&](QWidget* d) {
            auto* combo = d->findChild<QComboBox*>(ShortcutPickerDialog::comboBoxName);
            for (int i = 0; i < combo->count(); ++i) {
                items << combo->itemText(i);
            }
            preset = combo->currentText();
            size = combo->size();
            folderOffered = d->findChild<QPushButton*>(ShortcutPickerDialog::openFolderButtonName) != nullptr;
            combo->setEditText("  Zip Them ");
            clickSoon(buttonWithText(d, "添加"));
        });
        const auto answer = prompts.pickShortcut(options);
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->name, "  Zip Them "); // the store trims
        EXPECT_EQ(answer->shortcutName, "  Zip Them ");
    }
    EXPECT_EQ(items, (QStringList{"Backup", "Zip Them"}));
    EXPECT_EQ(preset, "Backup");
    EXPECT_EQ(size, QSize(320, 26));
    EXPECT_FALSE(folderOffered);
    {
        test::ModalAnswerer answerer([](QWidget* d) { clickSoon(buttonWithText(d, "取消")); });
        EXPECT_FALSE(prompts.pickShortcut(options));
    }
}

TEST_F(ListChoosersTest, WithoutShortcutsThePickerNamesTheFolderAndOpensIt) {
    const auto options = CustomShortcutActionStore::pickerOptions({});
    ASSERT_FALSE(fs::exists(paths::shortcutsDir()));
    QStringList labels;
    test::ModalAnswerer answerer([&](QWidget* d) {
        for (auto* label : d->findChildren<QLabel*>()) {
            labels << label->text();
        }
        d->findChild<QPushButton*>(ShortcutPickerDialog::openFolderButtonName)->click();
        static_cast<QDialog*>(d)->reject();
    });
    EXPECT_FALSE(prompts.pickShortcut(options));
    EXPECT_TRUE(labels.contains("没有读取到快捷指令，你也可以手动输入快捷指令名称。"));
    EXPECT_TRUE(labels.contains(
        QString::fromStdString("快捷指令是放在 " + paths::shortcutsDir().string() + " 里的可执行文件。")));
    EXPECT_EQ(opened, std::vector<fs::path>{paths::shortcutsDir()});
    EXPECT_TRUE(fs::is_directory(paths::shortcutsDir()));
}
