#include "app/settings/lists/ScheduledDeletionSection.h"

#include "app/core/deletion/ScheduledDeletionListStore.h"
#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/ListRowParts.h"
#include "app/settings/lists/ScheduledDeletionRow.h"
#include "shared/L10n.h"

#include <QFileSystemWatcher>
#include <QHBoxLayout>
#include <QTimer>

#include <filesystem>

namespace quilla {

// Several changes in a row (a write is a temporary file and a rename) become one re-read.
constexpr int kReloadDelayMilliseconds = 150;

ScheduledDeletionSection::ScheduledDeletionSection(ScheduledDeletionListStore& store,
                                                   std::array<RGBColor, 2> colors, QWidget* parent)
    : ListEditorSection(qtText(L10n::text<"等待清理的文件">()), store, parent), store_(store), colors_(colors),
      reloadSoon_(new QTimer(this)) {
    reloadSoon_->setSingleShot(true);
    reloadSoon_->setInterval(kReloadDelayMilliseconds);
    connect(reloadSoon_, &QTimer::timeout, this, [this] {
        store_.reload();
        watchFile(); // a replaced file is a new file to the watcher
    });
    startObserving();
}

void ScheduledDeletionSection::refresh() {
    std::vector<QWidget*> rows;
    for (const auto& item : store_.items()) {
        rows.push_back(new ScheduledDeletionRow(item, colors_, [this, item] { store_.cancel(item); }));
    }
    showFixedRows(std::move(rows), emptyRow());
}

QWidget* ScheduledDeletionSection::emptyRow() {
    auto* row = new QWidget;
    auto* layout = ListRowParts::rowLayout(row, settings_metrics::rowMinimumHeight);
    layout->addWidget(ListRowParts::tile("checkmark.circle.fill", colors_, row));
    layout->addWidget(new SettingsRowText(qtText(L10n::text<"暂无定时清理项目">()), QString(), row), 1);
    return row;
}

void ScheduledDeletionSection::showEvent(QShowEvent* event) {
    ListEditorSection::showEvent(event);
    store_.reload();
    watchFile();
}

void ScheduledDeletionSection::hideEvent(QHideEvent* event) {
    ListEditorSection::hideEvent(event);
    delete watcher_;
    watcher_ = nullptr;
    reloadSoon_->stop();
}

void ScheduledDeletionSection::watchFile() {
    if (watcher_ == nullptr) {
        watcher_ = new QFileSystemWatcher(this);
        connect(watcher_, &QFileSystemWatcher::fileChanged, reloadSoon_, qOverload<>(&QTimer::start));
        connect(watcher_, &QFileSystemWatcher::directoryChanged, reloadSoon_, qOverload<>(&QTimer::start));
    }
    // The folder catches the file's creation and its atomic replacement; the file, edits in place.
    // The folder is the application's settings folder, so making it early costs nothing.
    std::error_code ignored;
    std::filesystem::create_directories(store_.file().parent_path(), ignored);
    const auto file = QString::fromStdString(store_.file().string());
    const auto folder = QString::fromStdString(store_.file().parent_path().string());
    for (const auto& path : {folder, file}) {
        if (!watcher_->files().contains(path) && !watcher_->directories().contains(path)) {
            watcher_->addPath(path); // fails quietly while the path does not exist
        }
    }
}

} // namespace quilla
