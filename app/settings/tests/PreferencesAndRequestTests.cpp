#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/FeatureRequestMailer.h"
#include "app/settings/FeatureRequestSheet.h"
#include "app/settings/LinuxPermissionStatus.h"
#include "app/settings/PreferencesDetailView.h"
#include "app/settings/SoftwareUpdateController.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsRows.h"
#include "app/settings/components/SettingsSwitch.h"
#include "app/settings/components/SymbolIcons.h"
#include "app/settings/tests/SettingsTestSupport.h"
#include "shared/catalog/QuillaFeature.h"
#include "shared/catalog/QuillaFeatureChild.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace quilla;

namespace {

class PreferencesTest : public ::testing::Test {
protected:
    void SetUp() override { test::ensureQtApplication(); }

    std::unique_ptr<PreferencesDetailView> page() {
        return std::make_unique<PreferencesDetailView>(fixture.stores, fixture.platform());
    }
    static QString subtitle(SettingsActionRow* row) { return row->text()->subtitleLabel()->text(); }

    test::SettingsFixture fixture;
};

TEST_F(PreferencesTest, TogglesWriteThroughTheStores) {
    auto view = page();
    view->collapseRow()->switchButton()->click();
    EXPECT_EQ(fixture.features.menuLayout(), FinderMenuLayout::expanded);
    EXPECT_EQ(test::SettingsFixture::readFeatureFile("d['menuLayout']"), "expanded");
    view->collapseRow()->switchButton()->click();
    EXPECT_EQ(fixture.features.menuLayout(), FinderMenuLayout::collapsed);

    const bool created = fixture.preferences.revealCreatedItems();
    view->revealCreatedRow()->switchButton()->click();
    EXPECT_EQ(fixture.preferences.revealCreatedItems(), !created);
    ASSERT_TRUE(view->notifyFailuresRow()->isChecked());
    view->notifyFailuresRow()->switchButton()->click();
    EXPECT_FALSE(fixture.preferences.notifyOnActionFailure());
    view->launchAtLoginRow()->switchButton()->click();
    EXPECT_TRUE(fixture.loginItem.enabled);
    EXPECT_TRUE(view->launchAtLoginRow()->isChecked());
}

TEST_F(PreferencesTest, AStoreChangeElsewhereShowsOnThePage) {
    auto view = page();
    fixture.preferences.setRevealActionResults(!fixture.preferences.revealActionResults());
    EXPECT_EQ(view->revealResultsRow()->isChecked(), fixture.preferences.revealActionResults());
    fixture.features.setMenuLayout(FinderMenuLayout::expanded);
    EXPECT_FALSE(view->collapseRow()->isChecked());
}

TEST_F(PreferencesTest, ModuleRowOpensTheFolderWhenInstalledAndExplainsOtherwise) {
    ASSERT_TRUE(QDir().mkpath(fixture.extensionFolder));
    {
        auto view = page();
        EXPECT_FALSE(view->permissionStatus().moduleInstalled);
        EXPECT_TRUE(subtitle(view->permissionRow(0)).contains(QStringLiteral("未安装")));
    }
    QFile module(QDir(fixture.extensionFolder).filePath(QStringLiteral("libquilla-nautilus.so")));
    ASSERT_TRUE(module.open(QIODevice::WriteOnly));
    module.close();
    auto view = page();
    EXPECT_TRUE(view->permissionStatus().moduleInstalled);
    EXPECT_TRUE(subtitle(view->permissionRow(0)).contains(QStringLiteral("已安装")));
    view->permissionRow(0)->button()->click();
    ASSERT_EQ(fixture.record.openedURLs.size(), 1u);
    EXPECT_EQ(fixture.record.openedURLs[0], QUrl::fromLocalFile(fixture.extensionFolder));
}

TEST_F(PreferencesTest, RowsTellWhatThisMachineHas) {
    {
        auto view = page();
        EXPECT_FALSE(view->permissionRow(1)->button()->isHidden());
        EXPECT_TRUE(subtitle(view->permissionRow(2)).contains(QStringLiteral("已找到")));
        view->permissionRow(3)->button()->click();
        ASSERT_EQ(fixture.record.started.size(), 1u);
        EXPECT_EQ(fixture.record.started[0], (QStringList{QStringLiteral("nautilus"), QStringLiteral("-q")}));
        view->permissionRow(1)->button()->click();
        EXPECT_EQ(fixture.record.started.back().front(), QStringLiteral("gnome-control-center"));
    }
    fixture.programs.clear();
    fixture.schemas.clear();
    auto bare = page();
    EXPECT_TRUE(bare->permissionRow(1)->button()->isHidden());
    EXPECT_TRUE(subtitle(bare->permissionRow(2)).contains(QStringLiteral("没有找到")));
    EXPECT_FALSE(bare->permissionRow(3)->button()->isEnabled());
}

TEST(FeatureRequestMailerTest, BodyTrimsTheRequestAndEndsWithTheThreeLines) {
    const QUrl url =
        FeatureRequestMailer::mailtoURL(QStringLiteral("\n\n  批量加水印 & 压缩 #1 \n \n"),
                                        QStringLiteral("1.2 (34)"), QStringLiteral("Debian GNU/Linux 12"));
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(), FeatureRequestMailer::mailbox());
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
              QStringLiteral("Quilla 新功能请求"));
    EXPECT_EQ(
        query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
        QStringLiteral("我想请求 Quilla 增加这个功能：\n\n批量加水印 & 压缩 #1\n\n---\nApp: Quilla 1.2 (34)\n"
                       "macOS: Debian GNU/Linux 12"));
}

TEST(FeatureRequestMailerTest, APlaceholderInTheRequestStaysTheUsersText) {
    EXPECT_EQ(
        FeatureRequestMailer::body(QStringLiteral("把 %@ 换成文件名"), QStringLiteral("1.2 (34)"),
                                   QStringLiteral("Debian")),
        QStringLiteral("我想请求 Quilla 增加这个功能：\n\n把 %@ 换成文件名\n\n---\nApp: Quilla 1.2 (34)\n"
                       "macOS: Debian"));
}

TEST(FeatureRequestMailerTest, AWhiteSpaceRequestOpensNothing) {
    int opened = 0;
    FeatureRequestMailer::openMailComposer(QStringLiteral(" \n\t\n "), {},
                                           [&](const QUrl&) { return ++opened > 0; });
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(FeatureRequestMailer::mailtoURL(QStringLiteral("  "), {}, {}).isEmpty());
}

TEST(FeatureRequestMailerTest, OsVersionComesFromPrettyName) {
    test::ScopedHome home;
    const QString path = QString::fromStdString((home.home() / "os-release").string());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n");
    file.close();
    EXPECT_EQ(FeatureRequestMailer::osVersion(path), QStringLiteral("Debian GNU/Linux 12 (bookworm)"));
    EXPECT_EQ(FeatureRequestMailer::osVersion(path + QStringLiteral(".missing")), QStringLiteral("Linux"));
}

TEST(FeatureRequestSheetTest, SubmitFollowsTheTrimmedTextAndReturnSubmits) {
    test::ensureQtApplication();
    std::vector<QString> submitted;
    FeatureRequestSheet sheet([&](const QString& text) { submitted.push_back(text); });
    sheet.show();
    EXPECT_FALSE(sheet.submitButton()->isEnabled());
    sheet.editor()->setPlainText(QStringLiteral("  \n \n"));
    EXPECT_FALSE(sheet.submitButton()->isEnabled());
    QTest::keyClick(sheet.editor(), Qt::Key_Return);
    EXPECT_TRUE(submitted.empty());

    sheet.editor()->setPlainText(QStringLiteral("右键生成二维码"));
    EXPECT_TRUE(sheet.submitButton()->isEnabled());
    QTest::keyClick(sheet.editor(), Qt::Key_Return);
    ASSERT_EQ(submitted.size(), 1u);
    EXPECT_EQ(submitted[0], QStringLiteral("右键生成二维码"));
    EXPECT_FALSE(sheet.isVisible());
}

TEST(FeatureRequestMailerTest, TheStandaloneDialogMailsWhatWasTypedWhenSubmitted) {
    test::ensureQtApplication();
    std::vector<QUrl> opened;
    const auto answer = [](const QString& text, const QString& button) {
        QTimer::singleShot(0, [text, button] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QPlainTextEdit*>()->setPlainText(text);
            for (QPushButton* candidate : dialog->findChildren<QPushButton*>()) {
                if (candidate->text() == button) {
                    candidate->click();
                }
            }
        });
    };
    answer(QStringLiteral("  批量转 WebP \n"), QStringLiteral("取消"));
    FeatureRequestMailer::presentRequestDialog(nullptr, {},
                                               [&](const QUrl& url) { return opened.push_back(url), true; });
    EXPECT_TRUE(opened.empty());

    answer(QStringLiteral("  批量转 WebP \n"), QStringLiteral("提交"));
    FeatureRequestMailer::presentRequestDialog(nullptr, {},
                                               [&](const QUrl& url) { return opened.push_back(url), true; });
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(QUrlQuery(opened[0])
                    .queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded)
                    .contains(QStringLiteral("：\n\n批量转 WebP\n\n---")));
}

TEST(SoftwareUpdateControllerTest, TellsWhatThePackageManagerOffers) {
    const QString newer =
        QStringLiteral("quilla:\n  Installed: 1.0-1\n  Candidate: 1.1-1\n  Version table:\n");
    const auto policy = SoftwareUpdateController::parsePolicy(newer);
    ASSERT_TRUE(policy);
    EXPECT_EQ(policy->installed, QStringLiteral("1.0-1"));
    EXPECT_EQ(policy->candidate, QStringLiteral("1.1-1"));
    EXPECT_TRUE(SoftwareUpdateController::message(QStringLiteral("1.0 (1)"), policy)
                    .contains(QStringLiteral("1.1-1")));

    const auto notInstalled = SoftwareUpdateController::parsePolicy(
        QStringLiteral("quilla:\n  Installed: (none)\n  Candidate: 1.1-1\n"));
    ASSERT_TRUE(notInstalled);
    EXPECT_TRUE(notInstalled->installed.isEmpty());
    EXPECT_TRUE(SoftwareUpdateController::message(QStringLiteral("1.0 (1)"), notInstalled)
                    .contains(QStringLiteral("不是从软件包安装的")));
    EXPECT_FALSE(SoftwareUpdateController::parsePolicy(QString()));
}

TEST(SymbolIconsTest, EverySymbolOfTheCatalogAndThePagesResolvesToAVisibleIcon) {
    test::ensureQtApplication();
    std::vector<std::string> symbols{"cursorarrow.click.2", "contextualmenu.and.cursorarrow",
                                     "gearshape.fill",      "arrow.triangle.2.circlepath",
                                     "plus.bubble",         "checklist.checked",
                                     "puzzlepiece.fill",    "folder.fill",
                                     "gearshape.2.fill",    "arrow.clockwise.circle.fill",
                                     "line.3.horizontal"};
    for (const QuillaFeature feature : allQuillaFeatures()) {
        symbols.emplace_back(systemImage(feature));
        for (const auto& child : quilla::children(feature)) {
            symbols.push_back(child.systemImage);
        }
    }
    for (const auto& symbol : symbols) {
        const SymbolIconEntry* entry = SymbolIcons::entry(symbol);
        ASSERT_NE(entry, nullptr) << symbol;
        EXPECT_TRUE(QFile::exists(SymbolIcons::fallbackPath(entry->fallback))) << symbol;
        const QImage glyph = SymbolIcons::glyph(symbol, 16, Qt::white).toImage();
        bool painted = false;
        for (int y = 0; y < glyph.height() && !painted; ++y) {
            for (int x = 0; x < glyph.width() && !painted; ++x) {
                painted = qAlpha(glyph.pixel(x, y)) > 0;
            }
        }
        EXPECT_TRUE(painted) << symbol;
    }
}

} // namespace
