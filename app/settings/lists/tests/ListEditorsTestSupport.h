#pragma once

#include <QString>
#include <QStringList>

#include <string>

class QWidget;
class QLineEdit;

namespace quilla::test {

/// Types `text` into `field` key by key, as a user would (each key is one edit).
void typeInto(QLineEdit* field, const QString& text);
/// Presses Return in `field`.
void pressReturn(QLineEdit* field);
/// Clicks the remove button of row `index` of the editor's reorderable list.
void clickRemove(QWidget* editor, int index);
/// Drags row `from` of the editor's list to `destination`, as a drop would ask for it.
void dragRow(QWidget* editor, int from, int destination);
/// The visible texts of the editor's rows, one string per row ("title|subtitle").
QStringList rowTexts(QWidget* editor);
/// Whether `text` is shown by a visible label below `widget`.
bool showsText(QWidget* widget, const QString& text);

} // namespace quilla::test
