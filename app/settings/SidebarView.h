#pragma once

#include "app/core/Observable.h"
#include "app/settings/SettingsPage.h"

#include <QScrollArea>

#include <vector>

namespace quilla {

class FeatureSettingsStore;
class ReorderableRowList;
class SettingsSection;
class SidebarRow;

/// The window's left column: brand header, the grouping switch, one row per feature in the
/// user's order (switch, drag to reorder), then preferences, update check and feature request.
class SidebarView final : public QScrollArea {
    Q_OBJECT

public:
    SidebarView(FeatureSettingsStore& features, const QString& versionText, QWidget* parent = nullptr);
    ~SidebarView() override;

    /// Highlights the row of `page`.
    void setSelectedPage(const SettingsPage& page);

    SidebarRow* groupingRow() const { return groupingRow_; }
    /// The feature rows in their shown order.
    const std::vector<SidebarRow*>& featureRows() const { return featureRows_; }
    ReorderableRowList* featureList() const { return featureList_; }
    SidebarRow* preferencesRow() const { return preferencesRow_; }
    SidebarRow* updateRow() const { return updateRow_; }
    SidebarRow* requestRow() const { return requestRow_; }

Q_SIGNALS:
    void pageSelected(const quilla::SettingsPage& page);
    void checkForUpdatesRequested();
    void featureRequestRequested();

private:
    void refresh();
    /// Moves the keyboard focus `delta` rows from `from`; the selection follows onto page rows.
    void step(SidebarRow* from, int delta);
    /// Every row the keyboard walks through, top to bottom.
    std::vector<SidebarRow*> keyboardRows() const;
    /// True for the rows that select a page (features, preferences).
    bool selectsPage(const SidebarRow* row) const;
    void rebuildFeatureRows();

    FeatureSettingsStore& features_;
    Observable::Token token_;
    SidebarRow* groupingRow_ = nullptr;
    SettingsSection* featureSection_ = nullptr;
    ReorderableRowList* featureList_ = nullptr;
    std::vector<SidebarRow*> featureRows_;
    std::vector<QuillaFeature> shownOrder_;
    SidebarRow* preferencesRow_ = nullptr;
    SidebarRow* updateRow_ = nullptr;
    SidebarRow* requestRow_ = nullptr;
    SettingsPage selected_;
};

} // namespace quilla
