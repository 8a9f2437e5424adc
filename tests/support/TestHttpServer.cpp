#include "TestHttpServer.h"

#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

namespace {

QByteArray statusLine(int status) {
    switch (status) {
    case 200:
        return "HTTP/1.1 200 OK\r\n";
    case 404:
        return "HTTP/1.1 404 Not Found\r\n";
    default:
        return "HTTP/1.1 500 Internal Server Error\r\n";
    }
}

QByteArray head(int status, qint64 contentLength) {
    return statusLine(status) + "Content-Type: application/octet-stream\r\nContent-Length: " +
           QByteArray::number(contentLength) + "\r\nConnection: close\r\n\r\n";
}

} // namespace

TestHttpServer::TestHttpServer(QObject* parent) : QObject(parent), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &TestHttpServer::accept);
}

TestHttpServer::~TestHttpServer() = default;

bool TestHttpServer::start(quint16 port) {
    if (server_->isListening())
        server_->close();
    return server_->listen(QHostAddress::LocalHost, port);
}

QString TestHttpServer::origin() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(server_->serverPort());
}

void TestHttpServer::serve(const QString& path, const QByteArray& body) {
    bodies_.insert(path, body);
}

void TestHttpServer::serveFolder(const QString& urlPrefix, const QString& folder) {
    folders_.insert(urlPrefix.endsWith('/') ? urlPrefix : urlPrefix + '/', folder);
}

void TestHttpServer::serveAnyPath(const QByteArray& body) {
    fallback_ = body;
    hasFallback_ = true;
}

void TestHttpServer::misbehave(const QString& path, Behaviour behaviour) {
    behaviours_.insert(path, behaviour);
}

void TestHttpServer::clearCounts() {
    counts_.clear();
    requested_.clear();
}

void TestHttpServer::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
    }
}

void TestHttpServer::readRequest(QTcpSocket* socket) {
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    if (!request.contains("\r\n\r\n") || socket->property("answered").toBool())
        return;
    socket->setProperty("answered", true);
    const QList<QByteArray> words = request.left(request.indexOf("\r\n")).split(' ');
    const QString path =
        words.size() >= 2 ? QUrl(QString::fromLatin1(words[1])).path() : QStringLiteral("/");
    counts_[path] += 1;
    requested_ << path;
    answer(socket, path);
}

bool TestHttpServer::lookUp(const QString& path, QByteArray& body) const {
    if (bodies_.contains(path)) {
        body = bodies_.value(path);
        return true;
    }
    for (auto it = folders_.cbegin(); it != folders_.cend(); ++it) {
        if (!path.startsWith(it.key()))
            continue;
        const QString relative = path.mid(it.key().size());
        if (relative.split('/').contains(QStringLiteral("..")))
            return false;
        QFile file(it.value() + '/' + relative);
        if (file.open(QIODevice::ReadOnly)) {
            body = file.readAll();
            return true;
        }
    }
    if (hasFallback_) {
        body = fallback_;
        return true;
    }
    return false;
}

void TestHttpServer::answer(QTcpSocket* socket, const QString& path) {
    const Behaviour behaviour = behaviours_.value(path, Behaviour::Normal);
    QByteArray body;
    const bool found = lookUp(path, body);

    switch (behaviour) {
    case Behaviour::Hang:
        return;
    case Behaviour::NotFound:
    case Behaviour::ServerError: {
        const QByteArray page = behaviour == Behaviour::NotFound ? "not found" : "broken";
        socket->write(head(behaviour == Behaviour::NotFound ? 404 : 500, page.size()) + page);
        socket->disconnectFromHost();
        return;
    }
    default:
        break;
    }

    if (!found) {
        const QByteArray page = "not found";
        socket->write(head(404, page.size()) + page);
        socket->disconnectFromHost();
        return;
    }

    switch (behaviour) {
    case Behaviour::StopHalfway:
        socket->write(head(200, body.size()) + body.left(body.size() / 2));
        socket->flush();
        socket->disconnectFromHost();
        return;
    case Behaviour::WrongLength:
        socket->write(head(200, body.size() + 100) + body);
        socket->flush();
        socket->disconnectFromHost();
        return;
    case Behaviour::Trickle:
        socket->write(head(200, body.size()));
        trickle(socket, body);
        return;
    default:
        socket->write(head(200, body.size()) + body);
        socket->disconnectFromHost();
        return;
    }
}

void TestHttpServer::trickle(QTcpSocket* socket, const QByteArray& rest) {
    if (rest.isEmpty()) {
        socket->disconnectFromHost();
        return;
    }
    socket->write(rest.left(1));
    socket->flush();
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(trickleIntervalMs_, this, [this, guard, rest] {
        if (guard)
            trickle(guard, rest.mid(1));
    });
}
