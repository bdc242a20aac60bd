#include "app/ui/MenuBarController.h"

#include "app/core/menubar/MenuBarActions.h"
#include "shared/L10n.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>

// Resources of a static library must be initialised by name, outside any namespace.
static void initialiseApplicationIconResource() {
    Q_INIT_RESOURCE(QuillaAppIcon);
}

namespace quilla {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

MenuBarController::MenuBarController(MenuBarActions& actions, QuillaSettingsChangeNotifier& notifier,
                                     Hooks hooks)
    : actions_(actions), notifier_(notifier), hooks_(std::move(hooks)) {}

MenuBarController::~MenuBarController() = default;

QIcon MenuBarController::applicationIcon() {
    initialiseApplicationIconResource();
    return QIcon::fromTheme(QStringLiteral("app.kelvarin.Quilla"),
                            QIcon(QStringLiteral(":/icons/app.kelvarin.Quilla.svg")));
}

bool MenuBarController::install() {
    menu_ = std::make_unique<QMenu>();
    rebuildMenu(*menu_);
    // Built afresh each time it opens, so changes made elsewhere show at once.
    connect(menu_.get(), &QMenu::aboutToShow, this, [this] { rebuildMenu(*menu_); });

    statusItem_ = std::make_unique<QSystemTrayIcon>(applicationIcon());
    statusItem_->setToolTip(QStringLiteral("Quilla"));
    statusItem_->setContextMenu(menu_.get());
    connect(statusItem_.get(), &QSystemTrayIcon::activated, this, &MenuBarController::handleActivation);
    const bool available = QSystemTrayIcon::isSystemTrayAvailable();
    if (!available) {
        hooks_.log("no system tray on this desktop; the settings window opens from the desktop entry or "
                   "by starting quilla again");
    }
    statusItem_->show();
    return available;
}

void MenuBarController::handleActivation(QSystemTrayIcon::ActivationReason reason) {
    // A double click also delivers its first click as a trigger: toggling again would undo it.
    if (reason == QSystemTrayIcon::Trigger) {
        hooks_.toggleMainWindow();
    }
}

void MenuBarController::resetTransientWindowState() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && dialog->isVisible()) {
            dialog->reject(); // also ends the dialog's own event loop
        }
    }
}

void MenuBarController::rebuildMenu(QMenu& menu) {
    // Submenus are children of the menu, which clear() keeps: delete them with their actions.
    for (QMenu* submenu : menu.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        submenu->deleteLater();
    }
    menu.clear();
    addItems(menu, MenuBarMenuModel::build(notifier_));
}

void MenuBarController::addItems(QMenu& menu, const std::vector<MenuBarMenuItem>& items) {
    for (const auto& item : items) {
        if (item.isSeparator) {
            menu.addSeparator();
            continue;
        }
        if (!item.submenu.empty()) {
            addItems(*menu.addMenu(qt(item.title)), item.submenu);
            continue;
        }
        QAction* action = menu.addAction(qt(item.title));
        action->setEnabled(item.enabled);
        if (item.keyEquivalent == "q") {
            action->setShortcut(QKeySequence::Quit);
        }
        connect(action, &QAction::triggered, this, [this, item] { perform(item); });
    }
}

void MenuBarController::perform(const MenuBarMenuItem& item) {
    switch (item.command) {
    case MenuBarCommand::resetAndOpenMainWindow:
        resetTransientWindowState();
        hooks_.showMainWindow();
        return;
    case MenuBarCommand::checkForUpdates:
        hooks_.checkForUpdates();
        return;
    case MenuBarCommand::quitApp:
        QCoreApplication::quit();
        return;
    default:
        break;
    }
    if (const auto error = actions_.perform(item.command, item.representedValue)) {
        hooks_.log("menu action failed: " + item.representedValue.value_or("") + " error=" + *error);
        showActionError(*error);
    }
}

void MenuBarController::showActionError(const std::string& description) {
    QMessageBox alert(QMessageBox::Warning, QStringLiteral("Quilla"), qt(L10n::text<"Quilla 操作失败">()));
    alert.setObjectName(QString::fromLatin1(errorAlertName));
    alert.setInformativeText(qt(description));
    alert.addButton(qt(L10n::text<"确定">()), QMessageBox::AcceptRole);
    alert.exec();
}

} // namespace quilla
