#include "app/FailureNotice.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <QStringList>
#include <QVariantMap>

namespace {

constexpr const char* kNotificationService = "org.freedesktop.Notifications";
constexpr const char* kNotificationPath = "/org/freedesktop/Notifications";
constexpr const char* kNotificationInterface = "org.freedesktop.Notifications";
constexpr const char* kApplicationName = "Quavermill";
constexpr const char* kIconName = "quavermill";
constexpr uint kNewNotification = 0;  // replaces no earlier one
constexpr int kServerChosenTimeout = -1;

}  // namespace

void NoticeBatchFailures(int failedCount, bool errorsToLog, const std::string& logPath) {
    if (failedCount <= 0 || !errorsToLog) return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    const QString summary =
        QCoreApplication::translate("FailureNotice", "%n file(s) failed to convert", nullptr, failedCount);
    // The body may be read as markup, where a path could hold '<' or '&'.
    const QString body = QCoreApplication::translate("FailureNotice", "The errors are in %1")
                             .arg(QFile::decodeName(logPath.c_str()).toHtmlEscaped());
    QDBusMessage notify = QDBusMessage::createMethodCall(kNotificationService, kNotificationPath,
                                                         kNotificationInterface, QStringLiteral("Notify"));
    notify << QString::fromUtf8(kApplicationName) << kNewNotification << QString::fromUtf8(kIconName) << summary
           << body << QStringList() << QVariantMap() << kServerChosenTimeout;
    // No reply is awaited: where no service runs, the bus answers with an
    // error nobody needs to see.
    bus.send(notify);
}
