#pragma once

#include <QFrame>
#include <QWidget>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace quilla {

/// The rounded, bordered panel of a section: rows stacked with a thin separator between them.
class SettingsPanel final : public QFrame {
    Q_OBJECT

public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    /// Appends a row (the panel takes it over).
    void addRow(QWidget* row);
    /// Removes and deletes every row.
    void clearRows();
    QVBoxLayout* rowLayout() const { return layout_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* layout_;
};

/// A section title (with an optional flat button at its right) above a `SettingsPanel`.
class SettingsSection final : public QWidget {
    Q_OBJECT

public:
    explicit SettingsSection(const QString& title, QWidget* parent = nullptr);

    SettingsPanel* panel() const { return panel_; }
    QLabel* titleLabel() const { return title_; }
    void addRow(QWidget* row) { panel_->addRow(row); }
    /// Adds (once) and answers the flat accent-coloured button in the header.
    QPushButton* headerButton();
    /// A widget placed below the panel (e.g. a list that draws its own panel), instead of rows.
    void addBelow(QWidget* widget);
    /// Shows `message` under the panel in the error colour; an empty message hides it.
    void setErrorMessage(const QString& message);

private:
    QLabel* title_;
    SettingsPanel* panel_;
    QPushButton* headerButton_ = nullptr;
    QLabel* error_ = nullptr;
};

} // namespace quilla
