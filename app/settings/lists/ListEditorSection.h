#pragma once

#include "app/core/Observable.h"
#include "app/settings/components/ReorderableRowList.h"

#include <QWidget>

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class QHBoxLayout;
class QPushButton;

namespace quilla {

class SettingsSection;

/// What the four list editors share: a titled section whose rows come from one store, shown
/// afresh whenever the store announces a change, an optional empty-state row in place of the
/// list, and add buttons under it. Holds no entries of its own.
class ListEditorSection : public QWidget {
public:
    ~ListEditorSection() override;

    SettingsSection* section() const { return section_; }
    ReorderableRowList* rowList() const { return list_; }

protected:
    ListEditorSection(const QString& title, Observable& store, QWidget* parent);

    /// Shows the store's entries again; called at once and after every change of the store.
    virtual void refresh() = 0;
    /// Calls refresh() now and after every change of the store. Call at the end of the subclass'
    /// constructor, when refresh() can run.
    void startObserving();

    /// Shows `rows` in the reorderable list, or `emptyRow` (when given) if there are none.
    void showRows(std::vector<QWidget*> rows, QWidget* emptyRow = nullptr);
    /// Shows `items` with rows of type `Row` (which has `entry()` and `setEntry(item)`): when the
    /// rows already show the same entries in the same order they are updated in place, keeping
    /// the focus and cursor of a field being edited; otherwise they are made anew with `make`.
    template <typename Row, typename Item, typename Make>
    void showEntries(const std::vector<Item>& items, Make make,
                     const std::function<QWidget*()>& emptyRow = {}) {
        const auto& shown = list_->rows();
        const bool sameEntries =
            !items.empty() && shown.size() == items.size() &&
            std::equal(items.begin(), items.end(), shown.begin(), [](const Item& item, QWidget* row) {
                return static_cast<Row*>(row)->entry().id == item.id;
            });
        if (sameEntries) {
            for (std::size_t i = 0; i < items.size(); ++i) {
                static_cast<Row*>(shown[i])->setEntry(items[i]);
            }
            return;
        }
        std::vector<QWidget*> rows;
        for (const auto& item : items) {
            rows.push_back(make(item));
        }
        showRows(std::move(rows), items.empty() && emptyRow ? emptyRow() : nullptr);
    }

    /// Shows `rows` that cannot be reordered, or `emptyRow` if there are none.
    void showFixedRows(std::vector<QWidget*> rows, QWidget* emptyRow);

    /// The position of the entry equal to `item` (a row's entry as it was shown), to remove it.
    template <typename Item>
    static std::optional<std::size_t> offsetOf(const std::vector<Item>& items, const Item& item) {
        const auto it = std::find(items.begin(), items.end(), item);
        return it == items.end() ? std::nullopt : std::optional(static_cast<std::size_t>(it - items.begin()));
    }

    /// Appends an add button under the list.
    QPushButton* addButton(std::string_view systemImage, const QString& title);

private:
    SettingsSection* section_;
    ReorderableRowList* list_;
    QHBoxLayout* buttons_ = nullptr;
    Observable& store_;
    Observable::Token token_ = 0;
};

} // namespace quilla
