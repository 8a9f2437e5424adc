#include "platform/linux/LinuxKeepAwake.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDebug>

namespace platform {
namespace {

// A bus that does not answer must not hold up the update.
constexpr int kCallTimeoutMs = 2000;

const char kWhy[] = "Writing monitor firmware";

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
        QDBusInterface screenSaver("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                   "org.freedesktop.ScreenSaver", session);
        screenSaver.setTimeout(kCallTimeoutMs);
        QDBusReply<uint> cookie = screenSaver.call("Inhibit", "Panelup", kWhy);
        if (cookie.isValid()) {
            screenSaverCookie_ = cookie.value();
            qDebug() << "Keep awake: screen saver inhibited";
        } else {
            qDebug() << "Keep awake: no screen saver inhibit:" << cookie.error().message();
        }
    } else {
        qDebug() << "Keep awake: no session bus";
    }

    QDBusConnection system = QDBusConnection::systemBus();
    if (system.isConnected()) {
        QDBusInterface login("org.freedesktop.login1", "/org/freedesktop/login1",
                             "org.freedesktop.login1.Manager", system);
        login.setTimeout(kCallTimeoutMs);
        QDBusReply<QDBusUnixFileDescriptor> lock =
            login.call("Inhibit", "sleep:idle", "Panelup", kWhy, "block");
        if (lock.isValid()) {
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

    if (screenSaverCookie_ != 0) {
        QDBusInterface screenSaver("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver",
                                   "org.freedesktop.ScreenSaver", QDBusConnection::sessionBus());
        screenSaver.setTimeout(kCallTimeoutMs);
        screenSaver.call("UnInhibit", screenSaverCookie_);
        screenSaverCookie_ = 0;
    }
    // logind drops the inhibitor when its descriptor is closed.
    sleepLock_ = QDBusUnixFileDescriptor();
    qDebug() << "Keep awake: ended";
}

} // namespace platform
