#include "app/settings/SettingsWindow.h"

#include "app/settings/ApplicationIcon.h"
#include "app/settings/ContentView.h"
#include "app/settings/WindowPlacement.h"
#include "app/settings/components/SettingsRowText.h"

#include <QCloseEvent>
#include <QIcon>
#include <QVBoxLayout>

namespace quilla {

SettingsWindow::SettingsWindow(SettingsStores& stores, const SettingsPlatform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), content_(new ContentView(stores, platform, this)) {
    setObjectName(QString::fromLatin1(identifier));
    // Not plain "Quilla": the dialogs the application asks its questions in carry that title.
    setWindowTitle(localized<"Quilla 设置">());
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
