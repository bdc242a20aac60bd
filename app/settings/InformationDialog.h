#pragma once

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

namespace quilla {

/// A message with Quilla's icon and one "确定" button (Qt's own "OK" would be the only English
/// word in the window), modal over `parent`, not yet shown.
std::unique_ptr<QMessageBox> makeInformationDialog(const QString& title, const QString& text,
                                                   const QString& informativeText, QWidget* parent);

} // namespace quilla
