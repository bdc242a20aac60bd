#include "app/settings/SettingsWindow.h"

#include "app/settings/ApplicationIcon.h"
#include "app/settings/ContentView.h"
#include "app/settings/WindowPlacement.h"

#include <QCloseEvent>
#include <QIcon>
#include <QVBoxLayout>

namespace quilla {

SettingsWindow::SettingsWindow(SettingsStores& stores, const SettingsPlatform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), content_(new ContentView(stores, platform, this)) {
    setObjectName(QString::fromLatin1(identifier));
    setWindowTitle(QStringLiteral("Quilla"));
    setWindowIcon(applicationIcon());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content_);
    resize(WindowPlacement::width, WindowPlacement::height);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
    // Hidden, not closed: the window, its page and the stores' bindings stay for the next show.
    event->ignore();
    hide();
}

} // namespace quilla
