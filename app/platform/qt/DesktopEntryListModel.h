#pragma once

#include "app/core/DesktopEntry.h"

#include <QAbstractListModel>
#include <QIcon>

#include <vector>

namespace quilla {

/// The installed applications the application chooser lists: icon and name, sorted by name in
/// the user's locale, narrowed by a search text.
class DesktopEntryListModel final : public QAbstractListModel {
public:
    /// The entry's file path (a QString), what choosing a row answers.
    static constexpr int pathRole = Qt::UserRole + 1;

    explicit DesktopEntryListModel(std::vector<DesktopEntry> entries, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    /// Shows only the entries whose name or file name contains `text` (case-insensitive); an
    /// empty text shows all.
    void setSearchText(const QString& text);

    /// The icon an entry names: an absolute file, else a theme icon, else a generic program icon.
    static QIcon iconFor(const DesktopEntry& entry);

private:
    struct Row {
        DesktopEntry entry;
        QString name;
        QString searchText; // name and file name, folded for case-insensitive search
        mutable QIcon icon; // looked up when first shown: themes are slow to search
        mutable bool iconLoaded = false;
    };

    std::vector<Row> rows_;
    std::vector<const Row*> visible_;
};

} // namespace quilla
