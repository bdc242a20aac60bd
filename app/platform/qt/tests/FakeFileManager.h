#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>

namespace quilla::test {

/// A file manager on the test's session bus that records the FileManager1 calls it receives.
class FakeFileManager final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    FakeFileManager();
    ~FakeFileManager() override;
    bool registered() const { return registered_; }

    QStringList calls; ///< "ShowFolders URI…" or "ShowItems URI…"

public Q_SLOTS:
    void ShowFolders(const QStringList& uris, const QString& startupId);
    void ShowItems(const QStringList& uris, const QString& startupId);

private:
    QDBusConnection connection_;
    bool registered_ = false;
};

} // namespace quilla::test
