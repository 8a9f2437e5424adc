#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QTcpServer;
class QTcpSocket;

// A small HTTP/1.1 server on loopback for tests: answers GET requests from a
// map of paths or from a folder, counts the requests and misbehaves on
// demand. Lives on the test's thread, so it answers while the code under
// test waits in a local event loop.
class TestHttpServer : public QObject {
public:
    enum class Behaviour {
        Normal,
        NotFound,    // 404
        ServerError, // 500
        StopHalfway, // full Content-Length, half the body, then the connection closes
        Hang,        // reads the request and never answers
        Trickle,     // the body one byte per trickle interval
        WrongLength, // Content-Length larger than the body, then the connection closes
    };

    explicit TestHttpServer(QObject* parent = nullptr);
    ~TestHttpServer() override;

    // Listens on 127.0.0.1 at a free port, or at the port given (a program
    // whose site address is fixed); a server listening already moves there.
    bool start(quint16 port = 0);
    // "http://127.0.0.1:<port>"
    QString origin() const;

    // path is the URL path, e.g. "/dept-pmsd/FW2/Check.htm".
    void serve(const QString& path, const QByteArray& body);
    // Every path below urlPrefix is answered from the file of the same
    // relative name in folder.
    void serveFolder(const QString& urlPrefix, const QString& folder);
    // Any path not otherwise known is answered with body.
    void serveAnyPath(const QByteArray& body);
    // Behaviour for one path; Normal restores it.
    void misbehave(const QString& path, Behaviour behaviour);
    void setTrickleIntervalMs(int ms) { trickleIntervalMs_ = ms; }

    int requestCount(const QString& path) const { return counts_.value(path); }
    int totalRequests() const { return requested_.size(); }
    QStringList requestedPaths() const { return requested_; }
    void clearCounts();

private:
    void accept();
    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const QString& path);
    bool lookUp(const QString& path, QByteArray& body) const;
    void trickle(QTcpSocket* socket, const QByteArray& rest);

    QTcpServer* server_;
    QHash<QString, QByteArray> bodies_;
    QHash<QString, QString> folders_;
    QHash<QString, Behaviour> behaviours_;
    QByteArray fallback_;
    bool hasFallback_ = false;
    QHash<QString, int> counts_;
    QStringList requested_;
    int trickleIntervalMs_ = 50;
};
