#include "app/settings/ContentView.h"

#include "app/core/FeatureSettingsStore.h"
#include "app/settings/FeatureDetailView.h"
#include "app/settings/FeatureRequestMailer.h"
#include "app/settings/FeatureRequestSheet.h"
#include "app/settings/PreferencesDetailView.h"
#include "app/settings/SettingsStores.h"
#include "app/settings/SidebarView.h"
#include "app/settings/SoftwareUpdateController.h"
#include "app/settings/components/SettingsMetrics.h"
#include "shared/L10n.h"

#include <QFrame>
#include <QHBoxLayout>

namespace quilla {

namespace m = settings_metrics;

QString ContentView::versionText() {
    return QString::fromStdString(
        L10n::format<"当前版本 %@">(FeatureRequestMailer::appVersion().toStdString()));
}

ContentView::ContentView(SettingsStores& stores, const SettingsPlatform& platform, QWidget* parent)
    : QWidget(parent), stores_(stores), platform_(platform),
      sidebar_(new SidebarView(stores.features, versionText())),
      selectedPage_(SettingsPage::forFeature(allQuillaFeatures().front())),
      updates_(std::make_unique<SoftwareUpdateController>(platform.packagePolicy)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    sidebar_->setParent(this);
    sidebar_->setMinimumWidth(m::sidebarMinimumWidth);
    sidebar_->setFixedWidth(m::sidebarWidth);
    layout->addWidget(sidebar_);
    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Plain);
    separator->setFixedWidth(1);
    separator->setForegroundRole(QPalette::Mid);
    layout->addWidget(separator);

    connect(sidebar_, &SidebarView::pageSelected, this, &ContentView::select);
    connect(sidebar_, &SidebarView::checkForUpdatesRequested, this, &ContentView::checkForUpdates);
    connect(sidebar_, &SidebarView::featureRequestRequested, this, &ContentView::showFeatureRequest);
    select(selectedPage_);
}

ContentView::~ContentView() = default;

void ContentView::select(const SettingsPage& page) {
    if (detail_ != nullptr && page == selectedPage_) {
        return;
    }
    selectedPage_ = page;
    QWidget* next = page.kind == SettingsPage::Kind::preferences
                        ? static_cast<QWidget*>(new PreferencesDetailView(stores_, platform_, this))
                        : static_cast<QWidget*>(new FeatureDetailView(page.feature, stores_, this));
    auto* boxes = static_cast<QHBoxLayout*>(layout());
    if (detail_ != nullptr) {
        delete boxes->replaceWidget(detail_, next); // the old page's layout item
        detail_->hide();
        detail_->deleteLater(); // the click that chose the page may still be on its way
    } else {
        boxes->addWidget(next, 1);
    }
    detail_ = next;
    sidebar_->setSelectedPage(page);
}

FeatureDetailView* ContentView::featurePage() const {
    return qobject_cast<FeatureDetailView*>(detail_);
}

PreferencesDetailView* ContentView::preferencesPage() const {
    return qobject_cast<PreferencesDetailView*>(detail_);
}

void ContentView::showFeatureRequest() {
    const QString osRelease = platform_.osReleasePath;
    const auto open = platform_.openURL;
    auto* sheet = new FeatureRequestSheet(
        [osRelease, open](const QString& text) {
            FeatureRequestMailer::openMailComposer(text, osRelease, open);
        },
        this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}

void ContentView::checkForUpdates() {
    updates_->checkForUpdates(this);
}

} // namespace quilla
