#include "app/platform/qt/DesktopEntryListModel.h"

#include <QCollator>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace quilla {

DesktopEntryListModel::DesktopEntryListModel(std::vector<DesktopEntry> entries, QObject* parent)
    : QAbstractListModel(parent) {
    rows_.reserve(entries.size());
    for (auto& entry : entries) {
        const auto name = QString::fromStdString(entry.displayName());
        const auto file = QString::fromStdString(entry.path.stem().string());
        rows_.push_back(
            {std::move(entry), name, (name + QLatin1Char('\n') + file).toCaseFolded(), QIcon(), false});
    }
    // The C locale has no collation rules (Qt compares code points there, ignoring numeric
    // mode), so a session without a language still sorts "tool 9" before "Tool 10".
    QLocale locale;
    if (locale.language() == QLocale::C) {
        locale = QLocale(QLocale::English);
    }
    QCollator collator(locale);
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&](const Row& a, const Row& b) { return collator.compare(a.name, b.name) < 0; });
    setSearchText({});
}

int DesktopEntryListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(visible_.size());
}

QVariant DesktopEntryListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const Row& row = *visible_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return row.name;
    case Qt::ToolTipRole:
    case pathRole:
        return QString::fromStdString(row.entry.path.string());
    case Qt::DecorationRole:
        if (!row.iconLoaded) {
            row.icon = iconFor(row.entry);
            row.iconLoaded = true;
        }
        return row.icon;
    default:
        return {};
    }
}

void DesktopEntryListModel::setSearchText(const QString& text) {
    const auto needle = text.trimmed().toCaseFolded();
    beginResetModel();
    visible_.clear();
    for (const auto& row : rows_) {
        if (needle.isEmpty() || row.searchText.contains(needle)) {
            visible_.push_back(&row);
        }
    }
    endResetModel();
}

QIcon DesktopEntryListModel::iconFor(const DesktopEntry& entry) {
    const auto name = QString::fromStdString(entry.icon);
    if (QFileInfo(name).isAbsolute()) {
        QIcon icon(name);
        if (!icon.isNull()) {
            return icon;
        }
    } else if (!name.isEmpty() && QIcon::hasThemeIcon(name)) {
        return QIcon::fromTheme(name);
    }
    return QIcon::fromTheme(QStringLiteral("application-x-executable"));
}

} // namespace quilla
