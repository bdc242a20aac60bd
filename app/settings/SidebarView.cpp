#include "app/settings/SidebarView.h"

#include "app/core/FeatureSettingsStore.h"
#include "app/settings/SaveFailureLine.h"
#include "app/settings/SidebarRow.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsIconTile.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsSection.h"
#include "app/settings/components/SettingsSwitch.h"
#include "shared/L10n.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace quilla {

namespace m = settings_metrics;

namespace {

QWidget* brandHeader(QWidget* parent) {
    auto* header = new QWidget(parent);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(10);
    layout->addWidget(new SettingsIconTile("cursorarrow.click.2", SettingsPalette::brandTile(),
                                           m::brandTileSize, 20, header));
    auto* text = new SettingsRowText(QStringLiteral("Quilla"), localized<"Finder 右键菜单">(), header, 16, 12);
    text->titleLabel()->setFont(settingsFont(header->font(), 16, QFont::Bold));
    layout->addWidget(text, 1);
    return header;
}

} // namespace

SidebarView::SidebarView(FeatureSettingsStore& features, const QString& versionText, QWidget* parent)
    : QScrollArea(parent), features_(features) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMinimumWidth(m::sidebarMinimumWidth);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(12, 14, 12, 14);
    layout->setSpacing(14);
    layout->addWidget(brandHeader(content));

    auto* menu = new SettingsSection(localized<"菜单">(), content);
    groupingRow_ = new SidebarRow("contextualmenu.and.cursorarrow", SettingsPalette::brandTile(),
                                  localized<"放入 Quilla 菜单">(), {}, true);
    menu->addRow(groupingRow_);
    connect(groupingRow_->switchButton(), &SettingsSwitch::clicked, this, [this, menu](bool on) {
        features_.setGroupsFeaturesUnderQuilla(on);
        showSaveResult(*menu, features_);
    });
    layout->addWidget(menu);

    featureSection_ = new SettingsSection(localized<"一级功能">(), content);
    SettingsSection* featureSection = featureSection_;
    featureSection->panel()->hide(); // the reorderable list draws its own panel
    featureList_ = new ReorderableRowList;
    featureSection->addBelow(featureList_);
    connect(featureList_, &ReorderableRowList::moveRequested, this, [this](int from, int destination) {
        features_.moveFeatures({static_cast<std::size_t>(from)}, static_cast<std::size_t>(destination));
        showSaveResult(*featureSection_, features_);
    });
    layout->addWidget(featureSection);

    auto* more = new SettingsSection({}, content);
    preferencesRow_ =
        new SidebarRow("gearshape.fill", SettingsPalette::neutralTile(), localized<"偏好设置">(), {}, false);
    updateRow_ = new SidebarRow("arrow.triangle.2.circlepath", SettingsPalette::brandTile(),
                                localized<"检查更新">(), versionText, false);
    requestRow_ =
        new SidebarRow("plus.bubble", SettingsPalette::brandTile(), localized<"请求新功能">(), {}, false);
    for (SidebarRow* row : {preferencesRow_, updateRow_, requestRow_}) {
        more->addRow(row);
    }
    for (SidebarRow* row : {groupingRow_, preferencesRow_, updateRow_, requestRow_}) {
        connect(row, &SidebarRow::stepRequested, this, [this, row](int delta) { step(row, delta); });
    }
    connect(preferencesRow_, &SidebarRow::activated, this,
            [this] { Q_EMIT pageSelected(SettingsPage::preferences()); });
    connect(updateRow_, &SidebarRow::activated, this, &SidebarView::checkForUpdatesRequested);
    connect(requestRow_, &SidebarRow::activated, this, &SidebarView::featureRequestRequested);
    layout->addWidget(more);
    layout->addStretch(1);
    setWidget(content);

    token_ = features_.observe([this] { refresh(); });
    refresh();
}

SidebarView::~SidebarView() {
    features_.unobserve(token_);
}

void SidebarView::setSelectedPage(const SettingsPage& page) {
    const bool moved = !(page == selected_);
    selected_ = page;
    SidebarRow* selectedRow = preferencesRow_;
    const auto order = features_.orderedFeatures();
    for (std::size_t i = 0; i < featureRows_.size() && i < order.size(); ++i) {
        const bool selected = page == SettingsPage::forFeature(order[i]);
        featureRows_[i]->setSelected(selected);
        if (selected) {
            selectedRow = featureRows_[i];
        }
    }
    preferencesRow_->setSelected(page == SettingsPage::preferences());
    if (moved) {
        // A page chosen from elsewhere (the keyboard, a later row) brings its row into view; a store
        // change alone never scrolls the list away from where the user left it.
        ensureWidgetVisible(selectedRow, 0, 12);
    }
}

void SidebarView::rebuildFeatureRows() {
    shownOrder_ = features_.orderedFeatures();
    featureRows_.clear();
    std::vector<QWidget*> rows;
    for (const QuillaFeature feature : shownOrder_) {
        auto* row = new SidebarRow(std::string(systemImage(feature)), iconColors(feature),
                                   qtText(quilla::title(feature)), {}, true);
        connect(row, &SidebarRow::activated, this,
                [this, feature] { Q_EMIT pageSelected(SettingsPage::forFeature(feature)); });
        connect(row->switchButton(), &SettingsSwitch::clicked, this, [this, feature](bool on) {
            features_.setEnabled(on, feature);
            showSaveResult(*featureSection_, features_);
        });
        connect(row, &SidebarRow::stepRequested, this, [this, row](int delta) { step(row, delta); });
        featureRows_.push_back(row);
        rows.push_back(row);
    }
    featureList_->setRows(std::move(rows));
}

void SidebarView::refresh() {
    if (features_.orderedFeatures() != shownOrder_) {
        rebuildFeatureRows();
    }
    groupingRow_->switchButton()->setChecked(features_.groupsFeaturesUnderQuilla());
    for (std::size_t i = 0; i < featureRows_.size(); ++i) {
        featureRows_[i]->switchButton()->setChecked(features_.isEnabled(shownOrder_[i]));
    }
    setSelectedPage(selected_);
}

std::vector<SidebarRow*> SidebarView::keyboardRows() const {
    std::vector<SidebarRow*> rows{groupingRow_};
    rows.insert(rows.end(), featureRows_.begin(), featureRows_.end());
    rows.insert(rows.end(), {preferencesRow_, updateRow_, requestRow_});
    return rows;
}

bool SidebarView::selectsPage(const SidebarRow* row) const {
    return row == preferencesRow_ ||
           std::find(featureRows_.begin(), featureRows_.end(), row) != featureRows_.end();
}

void SidebarView::step(SidebarRow* from, int delta) {
    const auto rows = keyboardRows();
    const auto at = std::find(rows.begin(), rows.end(), from);
    if (at == rows.end()) {
        return;
    }
    const auto index = (at - rows.begin()) + delta;
    if (index < 0 || index >= static_cast<std::ptrdiff_t>(rows.size())) {
        return;
    }
    SidebarRow* next = rows[static_cast<std::size_t>(index)];
    next->setFocus(Qt::TabFocusReason);
    ensureWidgetVisible(next, 0, 12);
    if (selectsPage(next)) {
        // The update check and the request form open dialogs: they wait for Enter.
        Q_EMIT next->activated();
    }
}

} // namespace quilla
