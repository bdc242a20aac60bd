#include "app/settings/lists/ListEditorSection.h"

#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsSection.h"
#include "app/settings/lists/ListRowParts.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilla {

ListEditorSection::ListEditorSection(const QString& title, Observable& store, QWidget* parent)
    : QWidget(parent), section_(new SettingsSection(title, this)), list_(new ReorderableRowList),
      store_(store) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(section_);
    section_->addBelow(list_);
}

ListEditorSection::~ListEditorSection() {
    store_.unobserve(token_);
}

void ListEditorSection::startObserving() {
    token_ = store_.observe([this] { refresh(); });
    refresh();
}

void ListEditorSection::showRows(std::vector<QWidget*> rows, QWidget* emptyRow) {
    section_->panel()->clearRows();
    const bool empty = rows.empty() && emptyRow != nullptr;
    if (empty) {
        section_->addRow(emptyRow);
    }
    list_->setRows(std::move(rows));
    section_->panel()->setVisible(empty);
    list_->setVisible(!empty);
}

void ListEditorSection::showFixedRows(std::vector<QWidget*> rows, QWidget* emptyRow) {
    section_->panel()->clearRows();
    if (rows.empty()) {
        rows.push_back(emptyRow);
    } else {
        delete emptyRow;
    }
    for (QWidget* row : rows) {
        section_->addRow(row);
    }
    list_->setRows({});
    section_->panel()->show();
    list_->hide();
}

QPushButton* ListEditorSection::addButton(std::string_view systemImage, const QString& title) {
    if (buttons_ == nullptr) {
        auto* bar = new QWidget;
        buttons_ = new QHBoxLayout(bar);
        buttons_->setContentsMargins(0, 0, 0, 0);
        buttons_->addStretch(1);
        section_->addBelow(bar);
    }
    auto* button = ListRowParts::addButton(systemImage, title, this);
    buttons_->insertWidget(buttons_->count() - 1, button);
    return button;
}

} // namespace quilla
