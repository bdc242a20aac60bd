#pragma once

#include "app/core/Observable.h"
#include "app/settings/DetailPageFrame.h"
#include "shared/catalog/QuillaFeature.h"

#include <vector>

class QPushButton;

namespace quilla {

class FeatureChildRow;
class ReorderableRowList;
class SettingsSection;
class SettingsToggleRow;
struct SettingsStores;

/// The page of one feature: its header, the switch that puts it in the file manager's menu, its
/// child actions (switches, "all on/off", drag to reorder) and its list editors below.
class FeatureDetailView final : public DetailPageFrame {
    Q_OBJECT

public:
    FeatureDetailView(QuillaFeature feature, SettingsStores& stores, QWidget* parent = nullptr);
    ~FeatureDetailView() override;

    QuillaFeature feature() const { return feature_; }
    SettingsToggleRow* enabledRow() const { return enabledRow_; }
    /// The "全部开启"/"全部关闭" button; null for a feature without children.
    QPushButton* toggleAllButton() const { return toggleAll_; }
    /// The child rows in their shown order.
    const std::vector<FeatureChildRow*>& childRows() const { return childRows_; }
    ReorderableRowList* childList() const { return childList_; }

    /// The label the toggle-all button shows for these children's states.
    static bool allChildrenEnabled(const std::vector<bool>& enabled);

private:
    void addChildrenSection();
    void rebuildChildRows();
    void refresh();
    void toggleAll();

    QuillaFeature feature_;
    SettingsStores& stores_;
    Observable::Token token_ = 0;
    SettingsToggleRow* enabledRow_ = nullptr;
    SettingsSection* childrenSection_ = nullptr;
    QPushButton* toggleAll_ = nullptr;
    ReorderableRowList* childList_ = nullptr;
    std::vector<FeatureChildRow*> childRows_;
    std::vector<std::string> shownChildIDs_;
};

} // namespace quilla
