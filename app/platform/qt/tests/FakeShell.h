#pragma once

#include <QDBusConnection>
#include <QObject>

namespace quilla::test {

/// A desktop shell on the test's session bus that counts the application-grid requests it gets.
class FakeShell final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell")

public:
    FakeShell();
    ~FakeShell() override;
    bool registered() const { return registered_; }

    int applicationGridShown = 0;

public Q_SLOTS:
    void ShowApplications();

private:
    QDBusConnection connection_;
    bool registered_ = false;
};

} // namespace quilla::test
