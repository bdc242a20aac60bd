#pragma once

#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <utility>
#include <vector>

class QMimeData;

namespace quilla {

class SettingsPanel;

/// Rows in a panel that the user reorders by dragging. A drop asks for the move with the
/// offsets-to-offset rule (the row goes before the row that was at `destination`; the end is
/// the row count); the owner changes its store and hands back the rows in the new order.
class ReorderableRowList final : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* mimeType = "application/x-quilla-row";

    explicit ReorderableRowList(QWidget* parent = nullptr);

    /// Replaces the rows, top to bottom (old rows are deleted once their events are done).
    void setRows(std::vector<QWidget*> rows);
    const std::vector<QWidget*>& rows() const { return rows_; }
    SettingsPanel* panel() const { return panel_; }

    /// The destination offset of a drop at height `y` of this widget: the index of the first row
    /// whose middle lies below it, else the row count.
    int destinationAt(int y) const;
    /// The drag payload that names row `index` of this list.
    QByteArray payload(int index) const;

Q_SIGNALS:
    /// The user dropped row `from` at `destination`; never emitted for a drop that changes nothing.
    void moveRequested(int from, int destination);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::optional<int> sourceIndex(const QMimeData* data) const;
    void startDrag(QWidget* row);
    void showIndicator(int destination);
    void request(int from, int destination);

    SettingsPanel* panel_;
    QWidget* indicator_;
    std::vector<QWidget*> rows_;
    QPoint pressPosition_;
    QPointer<QWidget> pressedRow_;
    bool dragging_ = false;
    std::optional<std::pair<int, int>> pendingMove_;
};

} // namespace quilla
