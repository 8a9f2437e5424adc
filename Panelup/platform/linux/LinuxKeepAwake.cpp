#include "platform/linux/LinuxKeepAwake.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDebug>

namespace platform {
namespace {

// A bus or service that does not answer must not hold up the update.
constexpr int kCallTimeoutMs = 2000;

const char kWho[] = "Panelup";
const char kWhy[] = "Writing monitor firmware";

const char kScreenSaverService[] = "org.freedesktop.ScreenSaver";
const char kScreenSaverPath[] = "/org/freedesktop/ScreenSaver";
const char kLoginService[] = "org.freedesktop.login1";
const char kLoginPath[] = "/org/freedesktop/login1";
const char kLoginInterface[] = "org.freedesktop.login1.Manager";

// A plain method call: unlike QDBusInterface it does not introspect the
// service first, which would wait without the time-out.
QDBusMessage call(QDBusConnection& bus, const char* service, const char* path,
                  const char* interface, const char* method, const QVariantList& arguments) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(QLatin1String(service), QLatin1String(path),
                                       QLatin1String(interface), QLatin1String(method));
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, kCallTimeoutMs);
}

} // namespace

LinuxKeepAwake::~LinuxKeepAwake() {
    end();
}

void LinuxKeepAwake::begin() {
    if (active_)
        return;
    active_ = true;

    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected()) {
        const QDBusReply<uint> cookie =
            call(session, kScreenSaverService, kScreenSaverPath, kScreenSaverService, "Inhibit",
                 {QLatin1String(kWho), QLatin1String(kWhy)});
        if (cookie.isValid()) {
            screenSaverCookie_ = cookie.value();
            screenSaverInhibited_ = true;
            qDebug() << "Keep awake: screen saver inhibited";
        } else {
            qDebug() << "Keep awake: no screen saver inhibit:" << cookie.error().message();
        }
    } else {
        qDebug() << "Keep awake: no session bus";
    }

    QDBusConnection system = QDBusConnection::systemBus();
    if (system.isConnected()) {
        const QDBusReply<QDBusUnixFileDescriptor> lock =
            call(system, kLoginService, kLoginPath, kLoginInterface, "Inhibit",
                 {QStringLiteral("sleep:idle"), QLatin1String(kWho), QLatin1String(kWhy),
                  QStringLiteral("block")});
        if (lock.isValid() && lock.value().isValid()) {
            sleepLock_ = lock.value();
            qDebug() << "Keep awake: sleep inhibited";
        } else {
            qDebug() << "Keep awake: no sleep inhibit:" << lock.error().message();
        }
    } else {
        qDebug() << "Keep awake: no system bus";
    }
}

void LinuxKeepAwake::end() {
    if (!active_)
        return;
    active_ = false;

    if (screenSaverInhibited_) {
        QDBusConnection session = QDBusConnection::sessionBus();
        call(session, kScreenSaverService, kScreenSaverPath, kScreenSaverService, "UnInhibit",
             {screenSaverCookie_});
        screenSaverInhibited_ = false;
        screenSaverCookie_ = 0;
    }
    // logind drops the inhibitor when its descriptor is closed.
    sleepLock_ = QDBusUnixFileDescriptor();
    qDebug() << "Keep awake: ended";
}

} // namespace platform
