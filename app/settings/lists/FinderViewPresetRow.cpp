#include "app/settings/lists/FinderViewPresetRow.h"

#include "app/settings/components/SettingsMetrics.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/ListRowParts.h"
#include "shared/L10n.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quilla {

namespace m = settings_metrics;

namespace {

template <typename Modes> QComboBox* picker(const Modes& modes, QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (auto mode : modes) {
        box->addItem(qtText(title(mode)));
    }
    // Sized by a few characters rather than the longest choice, so that a longer translation
    // shares the row instead of widening the page past the window.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(6);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

template <typename Modes, typename Mode> int indexOf(const Modes& modes, Mode mode) {
    return static_cast<int>(std::find(modes.begin(), modes.end(), mode) - modes.begin());
}

} // namespace

FinderViewPresetRow::FinderViewPresetRow(const FinderViewPreset& preset, std::array<RGBColor, 2> colors,
                                         Update update, Remove remove, QWidget* parent)
    : QWidget(parent), preset_(preset), name_(new QLineEdit(qtText(preset.name), this)),
      view_(picker(allFinderViewModes, this)), sort_(picker(allFinderSortModes, this)),
      remove_(ListRowParts::removeButton(this)) {
    auto* layout = ListRowParts::rowLayout(this, m::rowMinimumHeight);
    layout->addWidget(ListRowParts::tile("rectangle.grid.2x2", colors, this));
    name_->setPlaceholderText(qtText(L10n::text<"方案名称">()));
    // The name above its two pickers: side by side they would not fit the page's width.
    auto* pickers = new QHBoxLayout;
    pickers->setSpacing(6);
    pickers->addWidget(ListRowParts::secondaryLabel(qtText(L10n::text<"视图">()), this));
    pickers->addWidget(view_);
    pickers->addSpacing(10);
    pickers->addWidget(ListRowParts::secondaryLabel(qtText(L10n::text<"排序">()), this));
    pickers->addWidget(sort_);
    pickers->addStretch(1);
    auto* fields = new QVBoxLayout;
    fields->setSpacing(6);
    fields->addWidget(name_);
    fields->addLayout(pickers);
    layout->addLayout(fields, 1);
    layout->addWidget(remove_);
    layout->addWidget(ListRowParts::dragHandle(this));
    showModes();

    connect(name_, &QLineEdit::textEdited, this, [this, update](const QString& text) {
        auto changed = preset_;
        changed.name = text.toStdString();
        update(changed);
    });
    connect(view_, &QComboBox::activated, this, [this, update](int index) {
        update(withViewMode(preset_, allFinderViewModes.at(static_cast<std::size_t>(index))));
    });
    connect(sort_, &QComboBox::activated, this, [this, update](int index) {
        update(withSortMode(preset_, allFinderSortModes.at(static_cast<std::size_t>(index))));
    });
    connect(remove_, &QToolButton::clicked, this, [this, remove = std::move(remove)] { remove(preset_); });
}

void FinderViewPresetRow::setEntry(const FinderViewPreset& preset) {
    preset_ = preset;
    if (name_->text().toStdString() != preset.name) {
        name_->setText(qtText(preset.name)); // a name the pickers gave it; typed text is already equal
    }
    showModes();
}

void FinderViewPresetRow::showModes() {
    const QSignalBlocker viewBlocker(view_);
    const QSignalBlocker sortBlocker(sort_);
    view_->setCurrentIndex(indexOf(allFinderViewModes, preset_.viewMode));
    sort_->setCurrentIndex(indexOf(allFinderSortModes, preset_.sortMode));
}

} // namespace quilla
