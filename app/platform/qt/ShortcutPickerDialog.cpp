#include "app/platform/qt/ShortcutPickerDialog.h"

#include "shared/L10n.h"

#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilla {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

QLabel* wrappedLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

ShortcutPickerDialog::ShortcutPickerDialog(const ShortcutPickerOptions& options, FolderOpener openFolder,
                                           QWidget* parent)
    : QDialog(parent), comboBox_(new QComboBox), openFolder_(std::move(openFolder)) {
    setWindowTitle(qt(options.messageText));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    auto* message = wrappedLabel(qt(options.messageText), this);
    QFont bold = message->font();
    bold.setBold(true);
    message->setFont(bold);
    layout->addWidget(message);
    layout->addWidget(wrappedLabel(qt(options.informativeText), this));
    if (options.shortcutNames.empty() && !options.shortcutsFolder.empty()) {
        layout->addWidget(folderHint(options));
    }

    auto* accessory = new QWidget(this);
    accessory->setFixedSize(ShortcutPickerOptions::accessoryWidth, ShortcutPickerOptions::accessoryHeight);
    comboBox_->setParent(accessory);
    comboBox_->setObjectName(QString::fromLatin1(comboBoxName));
    comboBox_->setEditable(true);
    comboBox_->setInsertPolicy(QComboBox::NoInsert);
    comboBox_->setFixedSize(ShortcutPickerOptions::comboBoxWidth, ShortcutPickerOptions::comboBoxHeight);
    for (const auto& name : options.shortcutNames) {
        comboBox_->addItem(qt(name));
    }
    comboBox_->lineEdit()->setPlaceholderText(qt(options.placeholder));
    comboBox_->completer()->setCompletionMode(QCompleter::InlineCompletion);
    comboBox_->setEditText(qt(options.initialText));
    layout->addWidget(accessory);

    auto* buttons = new QDialogButtonBox(this);
    auto* confirm = buttons->addButton(qt(options.confirmButtonTitle), QDialogButtonBox::AcceptRole);
    buttons->addButton(qt(options.cancelButtonTitle), QDialogButtonBox::RejectRole);
    confirm->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    comboBox_->setFocus();
}

QString ShortcutPickerDialog::enteredText() const {
    return comboBox_->currentText();
}

QWidget* ShortcutPickerDialog::folderHint(const ShortcutPickerOptions& options) {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto folder = options.shortcutsFolder;
    auto* text = wrappedLabel(qt(L10n::format<"快捷指令是放在 %@ 里的可执行文件。">(folder.string())), row);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* open = new QPushButton(qt(L10n::text<"打开文件夹">()), row);
    open->setObjectName(QString::fromLatin1(openFolderButtonName));
    open->setAutoDefault(false);
    connect(open, &QPushButton::clicked, this, [this, folder] {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec); // a first shortcut needs somewhere to go
        if (openFolder_) {
            openFolder_(folder);
        }
    });
    layout->addWidget(text, 1);
    layout->addWidget(open);
    return row;
}

} // namespace quilla
