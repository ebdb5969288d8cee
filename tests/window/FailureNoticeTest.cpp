// The notification at the end of a batch, sent to a fake notification
// service on a private session bus.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/FailureNotice.h"

namespace {

constexpr const char* kService = "org.freedesktop.Notifications";
constexpr const char* kPath = "/org/freedesktop/Notifications";

class FakeNotificationService : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls.append(message);
        connection.send(message.createReply(QVariant::fromValue(1u)));
        return true;
    }
    QString introspect(const QString&) const override { return QString(); }

    QList<QDBusMessage> calls;
};

TEST(FailureNotice, OneNotificationAfterABatchWithFailuresWhoseErrorsWentToTheLog) {
    FILE* daemon = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    char address[512] = "", pid[32] = "";
    if (!daemon || !fgets(address, sizeof address, daemon) || !fgets(pid, sizeof pid, daemon)) GTEST_SKIP();
    pclose(daemon);
    std::string busAddress = address;
    busAddress.pop_back();  // the line's end
    setenv("DBUS_SESSION_BUS_ADDRESS", busAddress.c_str(), 1);
    int argc = 0;
    QCoreApplication application(argc, nullptr);
    QDBusConnection service = QDBusConnection::connectToBus(QString::fromStdString(busAddress), "fake");
    FakeNotificationService fake;
    ASSERT_TRUE(service.registerService(kService) && service.registerVirtualObject(kPath, &fake));

    NoticeBatchFailures(0, true, "/home/u/Quavermill.log");   // a clean batch
    NoticeBatchFailures(2, false, "/home/u/Quavermill.log");  // the errors were shown in boxes
    NoticeBatchFailures(2, true, "/home/u/Quavermill.log");
    // Calls from one connection arrive in order: once this one is in, any other would be too.
    QDBusConnection::sessionBus().send(QDBusMessage::createMethodCall(kService, kPath, kService, "End"));
    for (int i = 0; i < 100 && (fake.calls.isEmpty() || fake.calls.last().member() != "End"); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    kill(std::atoi(pid), SIGTERM);
    ASSERT_EQ(fake.calls.size(), 2);
    const QList<QVariant> notify = fake.calls[0].arguments();
    EXPECT_EQ(fake.calls[0].member(), "Notify");
    ASSERT_EQ(notify.size(), 8);
    EXPECT_EQ(notify[3].toString(), "2 files failed to convert");
    EXPECT_EQ(notify[4].toString(), "The errors are in /home/u/Quavermill.log");
}

}  // namespace
