#pragma once

#include <QDialog>

#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace quilla {

/// The window-modal feature-request form: a header, a text field and "取消"/"提交". "提交" stays
/// disabled while the text is only white space; Return submits (Shift+Return breaks the line).
class FeatureRequestSheet final : public QDialog {
    Q_OBJECT

public:
    /// `submit` receives the text as typed (the mailer trims it).
    FeatureRequestSheet(std::function<void(const QString&)> submit, QWidget* parent = nullptr);

    QPlainTextEdit* editor() const { return editor_; }
    QPushButton* submitButton() const { return submit_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateSubmit();
    void submitRequest();

    std::function<void(const QString&)> onSubmit_;
    QPlainTextEdit* editor_;
    QPushButton* submit_;
    QPushButton* cancel_;
};

} // namespace quilla
