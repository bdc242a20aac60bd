#pragma once

#include <QLabel>

namespace quilla {

/// A one-line label that shortens its text in the middle ("/home/…/报告") to the width it gets,
/// so a long path never widens its row or the page; the whole text is its tooltip.
class ElidedLabel final : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }

    /// As wide as the whole text, so the row gives it the room it has.
    QSize sizeHint() const override;
    /// A few characters: the rest of the row always fits.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void elide();

    QString full_;
};

} // namespace quilla
