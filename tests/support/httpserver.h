#pragma once

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace doorsel::test {

// A small HTTP/1.1 server on 127.0.0.1 for one test, run by the test's own event loop: the program's
// fetch waits in a local event loop, which also serves the requests. Each path gets a canned answer;
// any other path answers 404.
class HttpServer {
public:
    enum class Mode {
        Complete, // status, Content-Length and the whole body
        NoLength, // status and the whole body, ended by closing the connection
        CutShort, // announces more than it sends, then closes
        Stall, // headers and half the body, then nothing more
        Hang, // no answer at all until release()
        Trickle, // the body a few bytes at a time, every 20 ms
        Chunked, // the whole body in chunks of three bytes, with an extension and a trailer
        EndlessChunks, // a chunked body of one-byte chunks that never ends
        EndlessHeaderLine, // a header line that never ends
        EndlessHeaderLines, // header lines that never end
    };
    struct Reply {
        int status = 200;
        QByteArray body;
        Mode mode = Mode::Complete;
    };

    HttpServer();
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // "http://127.0.0.1:PORT", with no trailing "/".
    std::string base() const;

    void serve(const std::string& path, Reply reply);
    void serve(const std::string& path, const QByteArray& body) { serve(path, Reply {200, body, Mode::Complete}); }

    // Runs the action from the event loop once a request for the path has arrived.
    void whenRequested(const std::string& path, std::function<void()> action);

    // Answers every held Hang request completely.
    void release();

    // Stops listening: connections are refused from now on.
    void stop();

    int requests(const std::string& path) const;
    int requests() const;
    // Connections the client has not closed yet.
    int openConnections() const { return open; }
    // Bytes sent by the endless modes until the client hung up.
    qint64 floodBytes() const { return flooded; }

private:
    void accept();
    void answer(QTcpSocket* socket, const std::string& path);
    void flood(QTcpSocket* socket, const QByteArray& start, const QByteArray& piece);

    QTcpServer server;
    quint16 port = 0;
    std::map<std::string, Reply> replies;
    std::map<std::string, int> counts;
    std::map<std::string, std::function<void()>> actions;
    struct Held {
        QPointer<QTcpSocket> socket;
        Reply reply;
    };
    std::vector<Held> held;
    int open = 0;
    qint64 flooded = 0;
};

} // namespace doorsel::test
