#include "app/platform/qt/tests/QtTestSupport.h"
#include "app/ui/SingleApplicationInstance.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <gtest/gtest.h>

#include <future>
#include <unistd.h>

using namespace quilla;

namespace {

// A name of this test process's own, so parallel tests on the shared bus never meet.
QString uniqueName() {
    return QStringLiteral("app.kelvarin.QuillaTest.p%1").arg(::getpid());
}

// A later start, as another process would be: its own connection, used from another thread
// while the owner's main loop keeps answering.
struct LaterStart {
    SingleApplicationInstance::Claim claim;
    bool handedOver = false;
    std::string error;
};

LaterStart startAgain(const QString& name, std::vector<std::string> urls) {
    auto result = std::async(std::launch::async, [name, urls] {
        const QString connectionName = QStringLiteral("later-start");
        LaterStart start{};
        {
            QDBusConnection connection =
                QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
            SingleApplicationInstance instance(connection, name);
            start.claim = instance.claim();
            if (start.claim == SingleApplicationInstance::Claim::alreadyRunning) {
                start.handedOver = SingleApplicationInstance::handOver(connection, name, urls, &start.error);
            }
        }
        QDBusConnection::disconnectFromBus(connectionName);
        return start;
    });
    EXPECT_TRUE(test::spinUntil(
        [&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return result.get();
}

} // namespace

TEST(SingleApplicationInstance, ASecondStartHandsOverAReopenOrItsURLsAndTheNameIsFreedOnTheWayOut) {
    test::ensureQtApplication();
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    const QString name = uniqueName();
    QStringList urls;
    int reopens = 0;
    {
        SingleApplicationInstance owner(QDBusConnection::sessionBus(), name);
        QObject::connect(&owner, &SingleApplicationInstance::reopenRequested, [&] { ++reopens; });
        QObject::connect(&owner, &SingleApplicationInstance::urlReceived,
                         [&](const QString& url) { urls << url; });
        ASSERT_EQ(owner.claim(), SingleApplicationInstance::Claim::owner);

        const LaterStart plain = startAgain(name, {});
        EXPECT_EQ(plain.claim, SingleApplicationInstance::Claim::alreadyRunning);
        EXPECT_TRUE(plain.handedOver) << plain.error;
        EXPECT_TRUE(test::spinUntil([&] { return reopens == 1; }));

        const LaterStart withURLs =
            startAgain(name, {"quilla://finder-action?a=1", "quilla://feature-request"});
        EXPECT_TRUE(withURLs.handedOver) << withURLs.error;
        EXPECT_TRUE(test::spinUntil([&] { return urls.size() == 2; }));
        EXPECT_EQ(urls, (QStringList{QStringLiteral("quilla://finder-action?a=1"),
                                     QStringLiteral("quilla://feature-request")}));
        EXPECT_EQ(reopens, 1);

        // On the way out the name goes first, while the rest of the application still winds down.
        owner.release();
        EXPECT_FALSE(QDBusConnection::sessionBus().interface()->isServiceRegistered(name).value());
        EXPECT_EQ(startAgain(name, {}).claim, SingleApplicationInstance::Claim::owner);
    }
    // With the owner gone, the next start owns the name itself.
    SingleApplicationInstance next(QDBusConnection::sessionBus(), name);
    EXPECT_EQ(next.claim(), SingleApplicationInstance::Claim::owner);
}

TEST(SingleApplicationInstance, HandOverToNobodyFails) {
    test::ensureQtApplication();
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    std::string error;
    EXPECT_FALSE(SingleApplicationInstance::handOver(QDBusConnection::sessionBus(),
                                                     uniqueName() + QStringLiteral(".gone"), {}, &error));
    EXPECT_FALSE(error.empty());
}

TEST(SingleApplicationInstance, WithoutABusNothingIsClaimed) {
    test::ensureQtApplication();
    SingleApplicationInstance lonely(QDBusConnection(QStringLiteral("never-connected")), uniqueName());
    EXPECT_EQ(lonely.claim(), SingleApplicationInstance::Claim::noBus);
}
