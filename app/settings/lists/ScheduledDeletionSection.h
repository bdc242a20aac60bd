#pragma once

#include "app/settings/lists/ListEditorSection.h"
#include "shared/catalog/RGBColor.h"

#include <array>

class QFileSystemWatcher;
class QTimer;

namespace quilla {

class ScheduledDeletionListStore;

/// The items waiting for the Trash ("等待清理的文件"), earliest first, each with "取消". While
/// shown it re-reads the file whenever it changes on disk, so items scheduled from the file
/// manager appear without reopening the window; every showing starts with a fresh read.
class ScheduledDeletionSection final : public ListEditorSection {
public:
    ScheduledDeletionSection(ScheduledDeletionListStore& store, std::array<RGBColor, 2> colors,
                             QWidget* parent = nullptr);

protected:
    void refresh() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* emptyRow();
    void watchFile();

    ScheduledDeletionListStore& store_;
    std::array<RGBColor, 2> colors_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* reloadSoon_;
};

} // namespace quilla
