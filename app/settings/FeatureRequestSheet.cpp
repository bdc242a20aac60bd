#include "app/settings/FeatureRequestSheet.h"

#include "app/settings/FeatureRequestMailer.h"
#include "app/settings/components/SettingsPalette.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/components/SettingsRows.h"
#include "shared/L10n.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilla {
FeatureRequestSheet::FeatureRequestSheet(std::function<void(const QString&)> submit, QWidget* parent)
    : QDialog(parent), onSubmit_(std::move(submit)), editor_(new QPlainTextEdit(this)),
      submit_(new QPushButton(localized<"提交">(), this)), cancel_(new QPushButton(localized<"取消">(), this)) {
    setWindowTitle(localized<"请求新功能">());
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(14);
    layout->addWidget(new DetailHeader("plus.bubble", SettingsPalette::brandTile(), localized<"请求新功能">(),
                                       localized<"描述你希望 Quilla 增加的右键能力。">(), this));
    editor_->setFixedSize(420, 150);
    editor_->setBackgroundRole(QPalette::Base);
    editor_->installEventFilter(this);
    layout->addWidget(editor_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel_);
    buttons->addWidget(submit_);
    layout->addLayout(buttons);
    submit_->setDefault(true);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(submit_, &QPushButton::clicked, this, &FeatureRequestSheet::submitRequest);
    connect(editor_, &QPlainTextEdit::textChanged, this, &FeatureRequestSheet::updateSubmit);
    updateSubmit();
}

void FeatureRequestSheet::updateSubmit() {
    submit_->setEnabled(!FeatureRequestMailer::trimmed(editor_->toPlainText()).isEmpty());
}

void FeatureRequestSheet::submitRequest() {
    if (!submit_->isEnabled()) {
        return;
    }
    onSubmit_(editor_->toPlainText());
    accept();
}

bool FeatureRequestSheet::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & Qt::ShiftModifier)) {
            submitRequest();
            return true; // Return never adds a line to a request it could not send
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quilla
