#include "app/settings/lists/tests/ListEditorsTestSupport.h"

#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/settings/components/ReorderableRowList.h"
#include "app/settings/components/SettingsRowText.h"
#include "app/settings/lists/ListRowParts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <gtest/gtest.h>

namespace quilla::test {
namespace {

ReorderableRowList* rowList(QWidget* editor) {
    auto* list = editor->findChild<ReorderableRowList*>();
    EXPECT_NE(list, nullptr);
    return list;
}

} // namespace

void typeInto(QLineEdit* field, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
    }
}

void pressReturn(QLineEdit* field) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &press);
}

void clickRemove(QWidget* editor, int index) {
    auto* row = rowList(editor)->rows().at(static_cast<std::size_t>(index));
    row->findChild<QToolButton*>(ListRowParts::removeButtonName)->click();
}

void dragRow(QWidget* editor, int from, int destination) {
    Q_EMIT rowList(editor)->moveRequested(from, destination);
}

QStringList rowTexts(QWidget* editor) {
    QStringList texts;
    for (QWidget* row : rowList(editor)->rows()) {
        if (auto* text = row->findChild<SettingsRowText*>()) {
            texts << text->titleLabel()->text() + "|" + text->subtitleLabel()->text();
        } else if (auto* field = row->findChild<QLineEdit*>()) {
            texts << field->text();
        }
    }
    return texts;
}

bool showsText(QWidget* widget, const QString& text) {
    for (auto* label : widget->findChildren<QLabel*>()) {
        if (label->text() == text && label->isVisibleTo(widget)) {
            return true;
        }
    }
    return false;
}

} // namespace quilla::test
