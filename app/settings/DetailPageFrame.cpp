#include "app/settings/DetailPageFrame.h"

#include "app/settings/components/SettingsMetrics.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace quilla {

namespace m = settings_metrics;

DetailPageFrame::DetailPageFrame(QWidget* parent)
    : QScrollArea(parent), column_(new QWidget), layout_(new QVBoxLayout(column_)) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* canvas = new QWidget;
    canvas->setBackgroundRole(QPalette::Window);
    auto* centring = new QHBoxLayout(canvas);
    centring->setContentsMargins(0, 0, 0, 0);
    centring->addStretch(0);
    centring->addWidget(column_, 1);
    centring->addStretch(0);
    column_->setMaximumWidth(m::pageMaximumWidth + 2 * m::pageMargin);
    layout_->setContentsMargins(m::pageMargin, m::pageMargin, m::pageMargin, m::pageBottomMargin);
    layout_->setSpacing(m::sectionSpacing);
    setWidget(canvas);
    viewport()->setBackgroundRole(QPalette::Window);
}

void DetailPageFrame::addPart(QWidget* part) {
    layout_->addWidget(part);
}

void DetailPageFrame::finish() {
    layout_->addStretch(1);
}

} // namespace quilla
