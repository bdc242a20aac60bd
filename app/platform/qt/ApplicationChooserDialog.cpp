#include "app/platform/qt/ApplicationChooserDialog.h"

#include "app/platform/qt/DesktopEntryListModel.h"
#include "app/platform/qt/QtOpenPanel.h"
#include "shared/L10n.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace quilla {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ApplicationChooserDialog::ApplicationChooserDialog(const OpenPanelOptions& options,
                                                   std::vector<DesktopEntry> entries, QWidget* parent)
    : QDialog(parent), options_(options), model_(new DesktopEntryListModel(std::move(entries), this)),
      search_(new QLineEdit(this)), list_(new QListView(this)), error_(new QLabel(this)) {
    setWindowTitle(qt(options.title));
    setModal(true);
    resize(420, 480);

    search_->setObjectName(QString::fromLatin1(searchFieldName));
    search_->setPlaceholderText(qt(L10n::text<"搜索应用">()));
    search_->setClearButtonEnabled(true);

    list_->setObjectName(QString::fromLatin1(listName));
    list_->setModel(model_);
    list_->setIconSize(QSize(24, 24));
    list_->setUniformItemSizes(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    error_->setObjectName(QString::fromLatin1(errorLabelName));
    error_->setWordWrap(true);
    error_->setStyleSheet(QStringLiteral("color: #c01c28;"));
    error_->hide();

    auto* buttons = new QDialogButtonBox(this);
    auto* other = buttons->addButton(qt(L10n::text<"其他…">()), QDialogButtonBox::ActionRole);
    other->setObjectName(QString::fromLatin1(otherButtonName));
    buttons->addButton(qt(L10n::text<"取消">()), QDialogButtonBox::RejectRole);
    confirm_ = buttons->addButton(qt(options.confirmButtonTitle), QDialogButtonBox::AcceptRole);
    confirm_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(list_, 1);
    layout->addWidget(error_);
    layout->addWidget(buttons);

    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_->setSearchText(text);
        selectFirstRow();
    });
    connect(search_, &QLineEdit::returnPressed, this, &ApplicationChooserDialog::acceptSelection);
    connect(list_, &QListView::activated, this, &ApplicationChooserDialog::acceptSelection);
    connect(buttons, &QDialogButtonBox::accepted, this, &ApplicationChooserDialog::acceptSelection);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(other, &QPushButton::clicked, this, &ApplicationChooserDialog::chooseOtherFile);
    selectFirstRow();
    search_->setFocus();
}

void ApplicationChooserDialog::selectFirstRow() {
    const auto first = model_->index(0, 0);
    list_->setCurrentIndex(first);
    confirm_->setEnabled(first.isValid());
}

void ApplicationChooserDialog::acceptSelection() {
    const auto current = list_->currentIndex();
    if (!current.isValid()) {
        return;
    }
    chosen_ = std::filesystem::path(current.data(DesktopEntryListModel::pathRole).toString().toStdString());
    accept();
}

void ApplicationChooserDialog::chooseOtherFile() {
    auto path = QtOpenPanel::run(this, options_);
    if (!path) {
        return; // back to the list
    }
    if (!DesktopEntry::isApplicationPath(*path)) {
        error_->setText(qt(L10n::text<"请选择一个应用的 .desktop 文件。">()));
        error_->show();
        return;
    }
    chosen_ = std::move(path);
    accept();
}

} // namespace quilla
