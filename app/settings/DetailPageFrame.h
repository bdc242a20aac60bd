#pragma once

#include <QScrollArea>

class QVBoxLayout;

namespace quilla {

/// The frame of every detail page: a scroll area on the window colour with one column at most
/// 760 px wide, centred, holding the page's header and sections with the page margins.
class DetailPageFrame : public QScrollArea {
    Q_OBJECT

public:
    explicit DetailPageFrame(QWidget* parent = nullptr);

    /// Appends a header or section to the column.
    void addPart(QWidget* part);
    /// Ends the column (pushes the parts to the top).
    void finish();
    QWidget* column() const { return column_; }

private:
    QWidget* column_;
    QVBoxLayout* layout_;
};

} // namespace quilla
