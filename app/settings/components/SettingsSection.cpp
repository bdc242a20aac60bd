#include "app/settings/components/SettingsSection.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsRowText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilla {

namespace m = settings_metrics;

SettingsPanel::SettingsPanel(QWidget* parent) : QFrame(parent), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(1); // the separator line
    // Rows keep their own height at the top; a panel taller than its rows (a list's minimum
    // height) leaves the rest empty instead of stretching a lone row.
    layout_->setAlignment(Qt::AlignTop);
}

void SettingsPanel::addRow(QWidget* row) {
    row->setParent(this);
    layout_->addWidget(row);
}

void SettingsPanel::clearRows() {
    while (QLayoutItem* item = layout_->takeAt(0)) {
        if (QWidget* widget = item->widget()) {
            widget->hide();
            widget->deleteLater(); // a row may be inside its own event handler
        }
        delete item;
    }
}

void SettingsPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(box, m::panelRadius, m::panelRadius);
    painter.fillPath(path, SettingsPalette::panel(palette()));
    painter.setPen(QPen(SettingsPalette::border(palette()), 1));
    painter.drawPath(path);

    painter.setRenderHint(QPainter::Antialiasing, false);
    QWidget* previous = nullptr;
    for (int i = 0; i < layout_->count(); ++i) {
        QWidget* row = layout_->itemAt(i)->widget();
        if (row == nullptr || row->isHidden()) {
            continue;
        }
        if (previous != nullptr) {
            const int y = row->geometry().top() - 1;
            painter.drawLine(m::separatorInset, y, width() - 1, y);
        }
        previous = row;
    }
}

SettingsSection::SettingsSection(const QString& title, QWidget* parent)
    : QWidget(parent), title_(new QLabel(title, this)), panel_(new SettingsPanel(this)) {
    title_->setFont(settingsFont(font(), m::sectionTitlePixelSize, QFont::DemiBold));
    QPalette secondary = title_->palette();
    secondary.setColor(QPalette::WindowText, SettingsPalette::secondaryText(palette()));
    title_->setPalette(secondary);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(4, 0, 0, 0);
    header->addWidget(title_);
    header->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(m::sectionTitleGap);
    layout->addLayout(header);
    layout->addWidget(panel_);
    title_->setVisible(!title.isEmpty());
}

QPushButton* SettingsSection::headerButton() {
    if (headerButton_ == nullptr) {
        headerButton_ = new QPushButton(this);
        headerButton_->setFlat(true);
        headerButton_->setCursor(Qt::PointingHandCursor);
        headerButton_->setFont(settingsFont(font(), m::sectionTitlePixelSize));
        // A style sheet, because styles such as Adwaita draw flat buttons in their own text colour.
        headerButton_->setStyleSheet(
            QStringLiteral(
                "QPushButton { color: %1; border: none; background: transparent; padding: 2px 6px; }"
                "QPushButton:hover, QPushButton:focus { text-decoration: underline; }")
                .arg(SettingsPalette::accent(palette()).name()));
        auto* layout = static_cast<QVBoxLayout*>(this->layout());
        static_cast<QHBoxLayout*>(layout->itemAt(0)->layout())->addWidget(headerButton_);
    }
    return headerButton_;
}

void SettingsSection::addBelow(QWidget* widget) {
    widget->setParent(this);
    static_cast<QVBoxLayout*>(layout())->addWidget(widget);
}

void SettingsSection::setErrorMessage(const QString& message) {
    if (error_ == nullptr) {
        error_ = new QLabel(this);
        error_->setFont(settingsFont(font(), m::subtitlePixelSize));
        QPalette colours = error_->palette();
        colours.setColor(QPalette::WindowText, SettingsPalette::error(palette()));
        error_->setPalette(colours);
        error_->setWordWrap(true);
        static_cast<QVBoxLayout*>(layout())->addWidget(error_);
    }
    error_->setText(message);
    error_->setVisible(!message.isEmpty());
}

} // namespace quilla
