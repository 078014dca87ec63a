#include "mainwindow/ScreenLockWatch.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace keystead {
namespace {

const QString kLogin = QStringLiteral("org.freedesktop.login1");
const QString kLoginPath = QStringLiteral("/org/freedesktop/login1");
const QString kLoginManager = QStringLiteral("org.freedesktop.login1.Manager");

}  // namespace

ScreenLockWatch::ScreenLockWatch(QObject* parent) : QObject(parent)
{
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected())
        for (const char* screenSaver : {"org.freedesktop.ScreenSaver", "org.gnome.ScreenSaver"})
            session.connect(QString(), QString(), QLatin1String(screenSaver), QStringLiteral("ActiveChanged"), this,
                            SLOT(screenSaverActiveChanged(bool)));
    QDBusConnection system = QDBusConnection::systemBus();
    if (!system.isConnected())
        return;
    system.connect(kLogin, kLoginPath, kLoginManager, QStringLiteral("PrepareForSleep"), this,
                   SLOT(prepareForSleep(bool)));
    watchOwnSession();
}

// logind locks each login session on its own object path; ours is asked for without waiting, so
// that a slow system bus never holds up the window.
void ScreenLockWatch::watchOwnSession()
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(kLogin, kLoginPath, kLoginManager, QStringLiteral("GetSessionByPID"));
    call << static_cast<quint32>(QCoreApplication::applicationPid());
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::systemBus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        const QDBusPendingReply<QDBusObjectPath> reply = *finished;
        finished->deleteLater();
        if (reply.isValid())
            QDBusConnection::systemBus().connect(kLogin, reply.value().path(),
                                                 QStringLiteral("org.freedesktop.login1.Session"),
                                                 QStringLiteral("Lock"), this, SLOT(sessionLocked()));
    });
}

void ScreenLockWatch::screenSaverActiveChanged(bool active)
{
    if (active)
        emit screenLocked();
}

void ScreenLockWatch::prepareForSleep(bool sleeping)
{
    if (sleeping)
        emit screenLocked();
}

void ScreenLockWatch::sessionLocked()
{
    emit screenLocked();
}

}  // namespace keystead

// Compiled here rather than in a unit of its own, which would read the Qt D-Bus headers again.
#include "moc_ScreenLockWatch.cpp"
