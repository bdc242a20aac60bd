#include "app/settings/PreferencesDetailView.h"

#include "app/core/FeatureSettingsStore.h"
#include "app/core/preferences/AppPreferencesStore.h"
#include "app/settings/InformationDialog.h"
#include "app/settings/SaveFailureLine.h"
#include "app/settings/SettingsStores.h"
#include "app/settings/components/SettingsIconTile.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsRows.h"
#include "app/settings/components/SettingsSection.h"
#include "shared/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace quilla {

namespace m = settings_metrics;

namespace {

// The guide's text, then what this machine says, on a line of its own.
QString withStatus(const QString& guide, const QString& status) {
    return guide + QLatin1Char('\n') + status;
}

QWidget* guideCard() {
    auto* card = new QWidget;
    card->setMinimumHeight(m::rowMinimumHeight);
    auto* layout = new QHBoxLayout(card);
    layout->setContentsMargins(m::rowPadding, 10, m::rowPadding, 10);
    layout->setSpacing(m::rowPadding);
    layout->addWidget(new SettingsIconTile("checklist.checked", SettingsPalette::brandTile(), m::rowTileSize,
                                           m::rowGlyphSize, card),
                      0, Qt::AlignTop);
    auto* text = new SettingsRowText(
        localized<"按顺序完成下面 3 步">(),
        localized<"如果右键菜单没有出现，或复制、移动、新建文件无效，通常是 Finder 扩展或文件权限还没有打开。">(),
        card);
    text->titleLabel()->setFont(settingsFont(card->font(), m::titlePixelSize, QFont::DemiBold));
    layout->addWidget(text, 1);
    return card;
}

} // namespace

PreferencesDetailView::PreferencesDetailView(SettingsStores& stores, const SettingsPlatform& platform,
                                             QWidget* parent)
    : DetailPageFrame(parent), stores_(stores), platform_(platform),
      status_(LinuxPermissionStatus::probe(platform)) {
    addPart(new DetailHeader("gearshape.fill", SettingsPalette::neutralTile(), localized<"偏好设置">(),
                             localized<"控制 Quilla 执行右键操作后的 Finder 行为。">()));
    addGeneral();
    addPermissions();
    addMenu();
    addFinderBehaviour();
    finish();
    featureToken_ = stores_.features.observe([this] { refresh(); });
    preferencesToken_ = stores_.preferences.observe([this] { refresh(); });
    refresh();
}

PreferencesDetailView::~PreferencesDetailView() {
    stores_.features.unobserve(featureToken_);
    stores_.preferences.unobserve(preferencesToken_);
}

SettingsSection* PreferencesDetailView::section(Section which) const {
    return sections_.at(static_cast<std::size_t>(which));
}

void PreferencesDetailView::addGeneral() {
    auto* general = new SettingsSection(localized<"通用">());
    launchAtLogin_ = new SettingsToggleRow(
        localized<"开机启动">(), localized<"登录 macOS 后自动启动 Quilla，让 Finder 右键菜单随时可用。">());
    connect(launchAtLogin_, &SettingsToggleRow::toggled, this,
            [this](bool on) { stores_.preferences.setLaunchAtLogin(on); });
    general->addRow(launchAtLogin_);
    sections_[static_cast<std::size_t>(Section::general)] = general;
    addPart(general);
}

void PreferencesDetailView::addPermissions() {
    auto* permissions = new SettingsSection(localized<"权限与扩展">());
    permissions->addRow(guideCard());
    const auto neutral = SettingsPalette::neutralTile();

    const QString moduleStatus =
        status_.moduleInstalled
            ? localizedFormat<"已安装：%@">(status_.modulePath())
            : localizedFormat<"未安装：扩展文件夹 %@ 中没有 libquilla-nautilus.so">(status_.extensionFolder);
    auto* module = new SettingsActionRow(
        "puzzlepiece.fill", neutral, localized<"1. 开启 Finder 扩展">(),
        withStatus(localized<"右键菜单不出现时，先在系统设置里打开 Quilla Finder 扩展。">(), moduleStatus),
        localized<"打开扩展设置">());
    connect(module->button(), &QPushButton::clicked, this, [this] {
        if (status_.moduleInstalled) {
            platform_.openURL(QUrl::fromLocalFile(status_.extensionFolder));
        } else {
            showInstallInstructions();
        }
    });

    const QString accessStatus =
        status_.settingsApplication
            ? localized<"Linux 不按应用限制文件访问；隐私相关的设置在“设置”的隐私面板里。">()
            : localized<"Linux 不按应用限制文件访问，Quilla 以你的身份访问文件，无需设置。">();
    auto* access = new SettingsActionRow(
        "folder.fill", neutral, localized<"2. 允许访问文件">(),
        withStatus(localized<"如果桌面、文稿、iCloud 或外接磁盘操作无效，请允许 Quilla 访问文件与文件夹。">(),
                   accessStatus),
        localized<"文件权限">());
    QPushButton* fullDisk = access->addSecondButton(localized<"完整磁盘访问">());
    for (QPushButton* button : {access->button(), fullDisk}) {
        button->setVisible(status_.settingsApplication);
        connect(button, &QPushButton::clicked, this, [this] {
            platform_.startDetached(QStringLiteral("gnome-control-center"), {QStringLiteral("privacy")});
        });
    }

    const QString controlStatus =
        status_.filesSettings
            ? localized<"已找到 GNOME 文件的设置（org.gnome.nautilus.preferences），无需授权。">()
            : localized<"没有找到 GNOME 文件的设置（org.gnome.nautilus.preferences），显示方式和排序无法更改。">();
    auto* control = new SettingsActionRow(
        "gearshape.2.fill", neutral, localized<"3. 允许控制 Finder">(),
        withStatus(localized<"显示方式、排序和部分 Finder 操作需要允许 Quilla 控制 Finder。">(), controlStatus),
        localized<"自动化权限">());
    control->button()->hide(); // nothing to grant on Linux

    auto* restart = new SettingsActionRow(
        "arrow.clockwise.circle.fill", neutral, localized<"应用更改">(),
        status_.filesProgram ? localized<"开启扩展或修改权限后，重启 Finder 可以让右键菜单立即重新加载。">()
                             : withStatus(localized<"开启扩展或修改权限后，重启 Finder 可以让右键菜单立即重新加载。">(),
                                          localized<"没有找到 nautilus。">()),
        localized<"重启">());
    restart->button()->setEnabled(status_.filesProgram);
    connect(restart->button(), &QPushButton::clicked, this,
            [this] { platform_.startDetached(QStringLiteral("nautilus"), {QStringLiteral("-q")}); });

    permissionRows_ = {module, access, control, restart};
    for (SettingsActionRow* row : permissionRows_) {
        permissions->addRow(row);
    }
    sections_[static_cast<std::size_t>(Section::permissions)] = permissions;
    addPart(permissions);
}

void PreferencesDetailView::addMenu() {
    auto* menu = new SettingsSection(localized<"菜单">());
    collapse_ = new SettingsToggleRow(
        localized<"折叠一级功能">(),
        localized<"开启后，右键菜单会先显示一级功能目录；关闭后，会直接展开显示所有具体操作。">());
    connect(collapse_, &SettingsToggleRow::toggled, this, [this, menu](bool on) {
        stores_.features.setMenuLayout(on ? FinderMenuLayout::collapsed : FinderMenuLayout::expanded);
        showSaveResult(*menu, stores_.features);
    });
    menu->addRow(collapse_);
    sections_[static_cast<std::size_t>(Section::menu)] = menu;
    addPart(menu);
}

void PreferencesDetailView::addFinderBehaviour() {
    auto* behaviour = new SettingsSection(localized<"Finder 行为">());
    revealCreated_ = new SettingsToggleRow(
        localized<"创建后定位新项目">(),
        localized<"创建文件或文件夹后，让 Finder 高亮新项目。关闭后只在当前目录静默创建。">());
    revealResults_ = new SettingsToggleRow(
        localized<"处理后定位结果">(),
        localized<"复制、移动、重命名、图片和 PDF 处理完成后，在 Finder 中显示结果文件。">());
    connect(revealCreated_, &SettingsToggleRow::toggled, this,
            [this](bool on) { stores_.preferences.setRevealCreatedItems(on); });
    connect(revealResults_, &SettingsToggleRow::toggled, this,
            [this](bool on) { stores_.preferences.setRevealActionResults(on); });
    // Failures of clicks in the file manager are otherwise silent; the notification is the only word.
    notifyFailures_ = new SettingsToggleRow(localized<"操作失败时通知">(),
                                            localized<"右键操作没有完成时，用桌面通知告诉你原因。">());
    connect(notifyFailures_, &SettingsToggleRow::toggled, this,
            [this](bool on) { stores_.preferences.setNotifyOnActionFailure(on); });
    behaviour->addRow(revealCreated_);
    behaviour->addRow(revealResults_);
    behaviour->addRow(notifyFailures_);
    sections_[static_cast<std::size_t>(Section::finderBehaviour)] = behaviour;
    addPart(behaviour);
}

void PreferencesDetailView::refresh() {
    launchAtLogin_->setChecked(stores_.preferences.launchAtLogin());
    collapse_->setChecked(stores_.features.menuLayout() == FinderMenuLayout::collapsed);
    revealCreated_->setChecked(stores_.preferences.revealCreatedItems());
    revealResults_->setChecked(stores_.preferences.revealActionResults());
    notifyFailures_->setChecked(stores_.preferences.notifyOnActionFailure());
}

void PreferencesDetailView::showInstallInstructions() {
    makeInformationDialog(
        localized<"安装文件管理器扩展">(), localized<"Quilla 的文件管理器扩展还没有安装。">(),
        localizedFormat<"用软件包安装：sudo apt install quilla\n从源码安装：cmake --install build\n扩展会放进 %@，然后点“重启”让文件管理器重新加载扩展。">(
            status_.extensionFolder),
        this)
        ->exec();
}

} // namespace quilla
