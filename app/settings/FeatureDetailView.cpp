#include "app/settings/FeatureDetailView.h"

#include "app/core/FeatureSettingsStore.h"
#include "app/core/deletion/ScheduledDeletionListStore.h"
#include "app/settings/SaveFailureLine.h"
#include "app/settings/SettingsStores.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsRows.h"
#include "app/settings/components/SettingsSection.h"
#include "shared/L10n.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace quilla {

namespace m = settings_metrics;

namespace {

std::vector<std::string> childIDs(const std::vector<QuillaFeatureChild>& children) {
    std::vector<std::string> ids;
    for (const auto& child : children) {
        ids.push_back(child.actionID);
    }
    return ids;
}

} // namespace

bool FeatureDetailView::allChildrenEnabled(const std::vector<bool>& enabled) {
    return !enabled.empty() && std::all_of(enabled.begin(), enabled.end(), [](bool on) { return on; });
}

FeatureDetailView::FeatureDetailView(QuillaFeature feature, SettingsStores& stores, QWidget* parent)
    : DetailPageFrame(parent), feature_(feature), stores_(stores) {
    const QString summaryText = qtText(quilla::summary(feature));
    addPart(new DetailHeader(std::string(systemImage(feature)), iconColors(feature),
                             qtText(quilla::title(feature)), summaryText));

    auto* menu = new SettingsSection(localized<"右键菜单">());
    enabledRow_ = new SettingsToggleRow(localized<"在 Finder 右键菜单中启用">(), summaryText);
    menu->addRow(enabledRow_);
    connect(enabledRow_, &SettingsToggleRow::toggled, this, [this, menu](bool on) {
        stores_.features.setEnabled(on, feature_);
        showSaveResult(*menu, stores_.features);
    });
    addPart(menu);

    if (!quilla::children(feature).empty()) {
        addChildrenSection();
    }

    if (feature == QuillaFeature::scheduledDeletion) {
        // Items scheduled from the file manager while the window was closed show at once.
        stores_.lists.scheduledDeletions.reload();
    }
    // The list editors (destinations, presets, custom actions, scheduled items) go below.
    for (QWidget* editor : makeFeatureListEditors(rawValue(feature), stores_.lists, column())) {
        addPart(editor);
    }
    finish();

    token_ = stores_.features.observe([this] { refresh(); });
    refresh();
}

FeatureDetailView::~FeatureDetailView() {
    stores_.features.unobserve(token_);
}

void FeatureDetailView::addChildrenSection() {
    auto* section = childrenSection_ = new SettingsSection(localized<"右键子菜单">());
    section->panel()->hide(); // the reorderable list draws its own panel
    toggleAll_ = section->headerButton();
    connect(toggleAll_, &QPushButton::clicked, this, &FeatureDetailView::toggleAll);
    childList_ = new ReorderableRowList;
    const int shownRows = std::max<int>(2, static_cast<int>(quilla::children(feature_).size()));
    childList_->panel()->setMinimumHeight(std::max(m::childListMinimumHeight, shownRows * m::childRowHeight));
    section->addBelow(childList_);
    connect(childList_, &ReorderableRowList::moveRequested, this, [this](int from, int destination) {
        stores_.features.moveChildren(feature_, {static_cast<std::size_t>(from)},
                                      static_cast<std::size_t>(destination));
        showSaveResult(*childrenSection_, stores_.features);
    });
    addPart(section);
}

void FeatureDetailView::rebuildChildRows() {
    const auto ordered = stores_.features.orderedChildren(feature_);
    shownChildIDs_ = childIDs(ordered);
    childRows_.clear();
    std::vector<QWidget*> rows;
    for (const auto& child : ordered) {
        auto* row = new FeatureChildRow(child.actionID, child.systemImage, iconColors(feature_),
                                        qtText(child.title), qtText(child.summary));
        const std::string id = child.actionID;
        connect(row, &FeatureChildRow::toggled, this, [this, id](bool on) {
            stores_.features.setChildEnabled(on, id);
            showSaveResult(*childrenSection_, stores_.features);
        });
        childRows_.push_back(row);
        rows.push_back(row);
    }
    childList_->setRows(std::move(rows));
}

void FeatureDetailView::refresh() {
    enabledRow_->setChecked(stores_.features.isEnabled(feature_));
    if (childList_ == nullptr) {
        return;
    }
    if (childIDs(stores_.features.orderedChildren(feature_)) != shownChildIDs_) {
        rebuildChildRows();
    }
    std::vector<bool> states;
    for (FeatureChildRow* row : childRows_) {
        const bool on = stores_.features.isChildEnabled(row->actionID());
        row->setChecked(on);
        states.push_back(on);
    }
    toggleAll_->setText(allChildrenEnabled(states) ? localized<"全部关闭">() : localized<"全部开启">());
}

void FeatureDetailView::toggleAll() {
    std::vector<bool> states;
    for (const auto& id : shownChildIDs_) {
        states.push_back(stores_.features.isChildEnabled(id));
    }
    stores_.features.setAllChildrenEnabled(!allChildrenEnabled(states), feature_);
    showSaveResult(*childrenSection_, stores_.features);
}

} // namespace quilla
