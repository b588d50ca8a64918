#include "support/httpserver.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace doorsel::test {
namespace {

QByteArray head(int status, qint64 length)
{
    QByteArray reason = status == 200 ? "OK"
        : status == 404               ? "Not Found"
        : status == 500               ? "Internal Server Error"
                                      : "Status";
    QByteArray text = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    if (length >= 0)
        text += "Content-Length: " + QByteArray::number(length) + "\r\n";
    text += "Content-Type: application/octet-stream\r\nConnection: close\r\n\r\n";
    return text;
}

void sendComplete(QTcpSocket* socket, const HttpServer::Reply& reply)
{
    socket->write(head(reply.status, reply.body.size()) + reply.body);
    socket->disconnectFromHost();
}

} // namespace

HttpServer::HttpServer()
{
    if (!server.listen(QHostAddress::LocalHost, 0))
        ADD_FAILURE() << "test HTTP server cannot listen: " << server.errorString().toStdString();
    port = server.serverPort();
    QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { accept(); });
}

HttpServer::~HttpServer() = default;

std::string HttpServer::base() const
{
    return "http://127.0.0.1:" + std::to_string(port);
}

void HttpServer::serve(const std::string& path, Reply reply)
{
    replies[path] = std::move(reply);
}

void HttpServer::whenRequested(const std::string& path, std::function<void()> action)
{
    actions[path] = std::move(action);
}

void HttpServer::stop()
{
    server.close();
}

int HttpServer::requests(const std::string& path) const
{
    const auto it = counts.find(path);
    return it == counts.end() ? 0 : it->second;
}

int HttpServer::requests() const
{
    int total = 0;
    for (const auto& [path, count] : counts)
        total += count;
    return total;
}

void HttpServer::accept()
{
    while (QTcpSocket* socket = server.nextPendingConnection()) {
        auto request = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            if (request->contains("\r\n\r\n"))
                return;
            *request += socket->readAll();
            const qsizetype end = request->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            // "GET /doorsel/links.dat HTTP/1.1"
            const QList<QByteArray> words = request->left(request->indexOf("\r\n")).split(' ');
            const std::string path = words.size() >= 2 ? words[1].toStdString() : std::string();
            answer(socket, path);
        });
        ++open;
        QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
            --open;
            socket->deleteLater();
        });
    }
}

void HttpServer::answer(QTcpSocket* socket, const std::string& path)
{
    ++counts[path];
    const auto found = replies.find(path);
    const Reply reply = found == replies.end() ? Reply {404, "no such file", Mode::Complete} : found->second;

    switch (reply.mode) {
    case Mode::Complete:
        sendComplete(socket, reply);
        break;
    case Mode::NoLength:
        socket->write(head(reply.status, -1) + reply.body);
        socket->disconnectFromHost();
        break;
    case Mode::CutShort:
        socket->write(head(reply.status, reply.body.size() + 100) + reply.body);
        socket->disconnectFromHost();
        break;
    case Mode::Stall:
        socket->write(head(reply.status, reply.body.size()) + reply.body.left(reply.body.size() / 2));
        break;
    case Mode::Hang:
        held.push_back({socket, reply});
        break;
    case Mode::Trickle: {
        socket->write(head(reply.status, reply.body.size()));
        auto* timer = new QTimer(socket);
        auto sent = std::make_shared<qsizetype>(0);
        QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, sent, body = reply.body] {
            constexpr qsizetype piece = 4;
            socket->write(body.mid(*sent, piece));
            *sent += piece;
            if (*sent >= body.size()) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start(20);
        break;
    }
    case Mode::Chunked: {
        QByteArray text = "HTTP/1.1 " + QByteArray::number(reply.status) + " OK\r\nTransfer-Encoding: chunked\r\n\r\n";
        for (qsizetype at = 0; at < reply.body.size(); at += 3)
            text += QByteArray::number(reply.body.mid(at, 3).size(), 16) + ";x=y\r\n" + reply.body.mid(at, 3) + "\r\n";
        socket->write(text + "0\r\nX-Trailer: z\r\n\r\n");
        socket->disconnectFromHost();
        break;
    }
    case Mode::EndlessChunks:
        flood(socket, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", "1\r\nx\r\n");
        break;
    case Mode::EndlessHeaderLine:
        flood(socket, "HTTP/1.1 200 OK\r\nX-Endless: ", "x");
        break;
    case Mode::EndlessHeaderLines:
        flood(socket, "HTTP/1.1 200 OK\r\n", "X-Endless: x\r\n");
        break;
    }

    const auto action = actions.find(path);
    if (action != actions.end()) {
        std::function<void()> run = std::move(action->second);
        actions.erase(action);
        QTimer::singleShot(0, &server, std::move(run));
    }
}

// Keeps the client's receive path full for as long as it reads, until it hangs up.
void HttpServer::flood(QTcpSocket* socket, const QByteArray& start, const QByteArray& piece)
{
    constexpr qint64 block = qint64 {64} * 1024;
    const QByteArray pieces = piece.repeated(static_cast<qsizetype>(block / piece.size()));
    const auto refill = [this, socket, pieces] {
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < block) {
            if (socket->write(pieces) < 0)
                return;
            flooded += pieces.size();
        }
    };
    socket->write(start);
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, refill);
    refill();
}

void HttpServer::release()
{
    for (const Held& request : held) {
        if (request.socket)
            sendComplete(request.socket, request.reply);
    }
    held.clear();
}

} // namespace doorsel::test
