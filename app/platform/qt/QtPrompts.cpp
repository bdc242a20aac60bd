#include "app/platform/qt/QtPrompts.h"

#include "app/core/platform/PromptUnavailable.h"
#include "app/platform/qt/QtMainThreadDispatcher.h"
#include "app/platform/qt/QtOpenPanel.h"
#include "shared/DiagnosticLog.h"
#include "shared/L10n.h"
#include "shared/QuillaPaths.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilla {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// The alert frame shared by both text prompts: the title as bold message text, the message as
// informative text, the accessory view, then "确定" (default) and "取消".
class PromptDialog final : public QDialog {
public:
    PromptDialog(const std::string& title, const std::string& message, QWidget* accessory) {
        setWindowTitle(qt(title));
        setModal(true);
        auto* layout = new QVBoxLayout(this);
        auto* heading = new QLabel(qt(title), this);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        heading->setWordWrap(true);
        layout->addWidget(heading);
        if (!message.empty()) {
            auto* informative = new QLabel(qt(message), this);
            informative->setWordWrap(true);
            layout->addWidget(informative);
        }
        layout->addWidget(accessory);
        auto* buttons = new QDialogButtonBox(this);
        QPushButton* ok = buttons->addButton(qt(L10n::text<"确定">()), QDialogButtonBox::AcceptRole);
        buttons->addButton(qt(L10n::text<"取消">()), QDialogButtonBox::RejectRole);
        ok->setDefault(true);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(buttons);
    }

    /// Brings the dialog to the front with `focus` holding the keyboard and its text selected.
    bool run(QLineEdit* focus) {
        show();
        raise();
        activateWindow();
        focus->setFocus();
        focus->selectAll();
        const bool accepted = exec() == QDialog::Accepted;
        hide();
        return accepted;
    }
};

QLineEdit* field(QWidget* parent, const char* name, const QString& placeholder = {}) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setPlaceholderText(placeholder);
    return edit;
}

} // namespace

QtPrompts::QtPrompts(QtMainThreadDispatcher& dispatcher, bool dialogsAllowed)
    : dispatcher_(dispatcher), dialogsAllowed_(dialogsAllowed) {}

bool QtPrompts::dialogsAvailable() const {
    return dialogsAllowed_ && qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void QtPrompts::runDialog(const std::string& title, const std::function<void()>& show) {
    const char* reason = nullptr;
    if (!dialogsAllowed_) {
        reason = "started without dialogs";
    } else if (!dialogsAvailable()) {
        reason = "no display for dialogs";
    } else if (!dispatcher_.runAndWait(show)) {
        reason = "application is quitting";
    }
    if (reason) {
        appendDiagnosticLog(paths::appActionLogPath(),
                            std::string("prompt unavailable, ") + reason + ": " + title);
        throw PromptUnavailable(title);
    }
}

std::optional<std::string> QtPrompts::promptText(const std::string& title, const std::string& message) {
    std::optional<std::string> answer;
    runDialog(title, [&] {
        QLineEdit* edit = field(nullptr, fieldName);
        edit->setFixedSize(320, 24);
        PromptDialog dialog(title, message, edit);
        if (dialog.run(edit)) {
            answer = edit->text().toStdString();
        }
    });
    return answer;
}

std::optional<std::pair<std::string, std::string>> QtPrompts::promptTwoTexts(const std::string& title,
                                                                             const std::string& firstLabel,
                                                                             const std::string& secondLabel,
                                                                             const std::string& message) {
    std::optional<std::pair<std::string, std::string>> answer;
    runDialog(title, [&] {
        auto* stack = new QWidget;
        stack->setFixedSize(360, 62);
        auto* layout = new QVBoxLayout(stack);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(8);
        QLineEdit* first = field(stack, firstFieldName, qt(firstLabel));
        QLineEdit* second = field(stack, secondFieldName, qt(secondLabel));
        first->setFixedHeight(27); // the two fields share the stack's height
        second->setFixedHeight(27);
        layout->addWidget(first);
        layout->addWidget(second);
        PromptDialog dialog(title, message, stack);
        if (dialog.run(first)) {
            answer = std::pair{first->text().toStdString(), second->text().toStdString()};
        }
    });
    return answer;
}

std::optional<std::filesystem::path>
QtPrompts::chooseDirectory(const std::string& title, const std::string& confirmButton,
                           const std::optional<std::filesystem::path>& startingDirectory) {
    std::optional<std::filesystem::path> answer;
    runDialog(title, [&] {
        OpenPanelOptions options;
        options.title = title;
        options.confirmButtonTitle = confirmButton;
        options.canChooseDirectories = true;
        options.canCreateDirectories = true;
        options.startDirectory = startingDirectory;
        answer = QtOpenPanel::run(nullptr, options);
    });
    return answer;
}

} // namespace quilla
