#include "app/settings/components/ReorderableRowList.h"

#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsSection.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace quilla {

ReorderableRowList::ReorderableRowList(QWidget* parent)
    : QWidget(parent), panel_(new SettingsPanel(this)), indicator_(new QWidget(this)) {
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_);
    indicator_->setAutoFillBackground(true);
    QPalette accent = indicator_->palette();
    accent.setColor(QPalette::Window, SettingsPalette::accent(palette()));
    indicator_->setPalette(accent);
    indicator_->hide();
}

void ReorderableRowList::setRows(std::vector<QWidget*> rows) {
    panel_->clearRows();
    rows_ = std::move(rows);
    for (QWidget* row : rows_) {
        panel_->addRow(row);
        row->installEventFilter(this);
    }
}

int ReorderableRowList::destinationAt(int y) const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const QRect box(rows_[i]->mapTo(this, QPoint(0, 0)), rows_[i]->size());
        if (y < box.center().y()) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(rows_.size());
}

QByteArray ReorderableRowList::payload(int index) const {
    return QByteArray::number(reinterpret_cast<quintptr>(this)) + ':' + QByteArray::number(index);
}

std::optional<int> ReorderableRowList::sourceIndex(const QMimeData* data) const {
    if (data == nullptr || !data->hasFormat(QString::fromLatin1(mimeType))) {
        return std::nullopt;
    }
    const QList<QByteArray> parts = data->data(QString::fromLatin1(mimeType)).split(':');
    // Only rows of this very list: a drag from another list or process is refused.
    if (parts.size() != 2 || parts[0] != QByteArray::number(reinterpret_cast<quintptr>(this))) {
        return std::nullopt;
    }
    bool ok = false;
    const int index = parts[1].toInt(&ok);
    if (!ok || index < 0 || index >= static_cast<int>(rows_.size())) {
        return std::nullopt;
    }
    return index;
}

bool ReorderableRowList::eventFilter(QObject* watched, QEvent* event) {
    auto* row = qobject_cast<QWidget*>(watched);
    if (row == nullptr || std::find(rows_.begin(), rows_.end(), row) == rows_.end()) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            pressPosition_ = mouse->position().toPoint();
            pressedRow_ = row;
        }
    } else if (event->type() == QEvent::MouseMove) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (pressedRow_ == row && (mouse->buttons() & Qt::LeftButton) &&
            (mouse->position().toPoint() - pressPosition_).manhattanLength() >=
                QApplication::startDragDistance()) {
            pressedRow_.clear();
            startDrag(row);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ReorderableRowList::startDrag(QWidget* row) {
    const int index = static_cast<int>(std::find(rows_.begin(), rows_.end(), row) - rows_.begin());
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(mimeType), payload(index));
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    QPixmap lifted = row->grab();
    drag->setPixmap(lifted);
    drag->setHotSpot(pressPosition_);
    dragging_ = true;
    drag->exec(Qt::MoveAction);
    dragging_ = false;
    indicator_->hide();
    // The move runs only now: it rebuilds the rows, the dragged one among them.
    if (pendingMove_) {
        const auto [from, destination] = *pendingMove_;
        pendingMove_.reset();
        Q_EMIT moveRequested(from, destination);
    }
}

void ReorderableRowList::showIndicator(int destination) {
    int y = 0;
    if (rows_.empty()) {
        y = 0;
    } else if (destination < static_cast<int>(rows_.size())) {
        y = rows_[static_cast<std::size_t>(destination)]->mapTo(this, QPoint(0, 0)).y() - 1;
    } else {
        const QWidget* last = rows_.back();
        y = last->mapTo(this, QPoint(0, last->height())).y() - 1;
    }
    indicator_->setGeometry(8, std::max(0, y - 1), width() - 16, 2);
    indicator_->raise();
    indicator_->show();
}

void ReorderableRowList::dragEnterEvent(QDragEnterEvent* event) {
    if (sourceIndex(event->mimeData())) {
        event->acceptProposedAction();
    }
}

void ReorderableRowList::dragMoveEvent(QDragMoveEvent* event) {
    if (!sourceIndex(event->mimeData())) {
        event->ignore();
        return;
    }
    showIndicator(destinationAt(event->position().toPoint().y()));
    event->acceptProposedAction();
}

void ReorderableRowList::dragLeaveEvent(QDragLeaveEvent*) {
    indicator_->hide();
}

void ReorderableRowList::dropEvent(QDropEvent* event) {
    indicator_->hide();
    const auto from = sourceIndex(event->mimeData());
    if (!from) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    request(*from, destinationAt(event->position().toPoint().y()));
}

void ReorderableRowList::request(int from, int destination) {
    if (destination == from || destination == from + 1) {
        return; // dropped where it already is
    }
    if (dragging_) {
        pendingMove_ = std::make_pair(from, destination);
        return;
    }
    Q_EMIT moveRequested(from, destination);
}

} // namespace quilla
