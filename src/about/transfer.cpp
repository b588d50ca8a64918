#include "transfer.h"

#include "widgets/busypointer.h"
#include "widgets/localtext.h"

#include <QEventLoop>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace doorsel {
namespace {

// What the socket holds at most, and what is decoded at a time: the window's thread goes back to
// its events between two pieces, however fast the server sends.
constexpr qint64 ReadPiece = qint64 {64} * 1024;
constexpr qsizetype ChunkLineLimit = 1024;
constexpr int RedirectLimit = 5;

bool isHttp(const QUrl& url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

// An HTTP/1.1 answer, decoded from the bytes as they arrive. Fails, and takes nothing more, as soon
// as what has come cannot be a good answer: a header over the limit, a body over the limit, or a
// broken chunked encoding.
class AnswerReader {
public:
    enum class State { Header, Body, ChunkSize, ChunkData, ChunkEnd, Trailer, Done, Failed };

    State state() const { return now; }
    int status() const { return code; }
    const QByteArray& location() const { return locationHeader; }
    const QByteArray& body() const { return content; }

    void take(const QByteArray& data)
    {
        pending += data;
        while (now != State::Done && now != State::Failed && step()) { }
        // What has been decoded goes; the rest waits for the next piece.
        pending.remove(0, used);
        used = 0;
    }

    // The server has closed the connection: the end of a body that has no length, else too soon.
    void closed()
    {
        if (now == State::Body && remaining < 0)
            now = State::Done;
        else if (now != State::Done)
            now = State::Failed;
    }

private:
    // One step of decoding; false when it needs more bytes.
    bool step()
    {
        switch (now) {
        case State::Header:
            return header();
        case State::Body:
        case State::ChunkData:
            return bodyPart();
        case State::ChunkSize:
            return chunkSize();
        case State::ChunkEnd:
            return chunkEnd();
        case State::Trailer:
            return trailer();
        case State::Done:
        case State::Failed:
            break;
        }
        return false;
    }

    // The next line, without its line end; nothing while it has not all come, or when it runs past
    // `limit` (then the answer has failed).
    std::optional<QByteArray> line(qsizetype limit)
    {
        const qsizetype end = pending.indexOf('\n', used);
        if (end < 0) {
            if (pending.size() - used > limit)
                now = State::Failed;
            return std::nullopt;
        }
        if (end - used > limit) {
            now = State::Failed;
            return std::nullopt;
        }
        QByteArray text = pending.mid(used, end - used);
        used = end + 1;
        if (text.endsWith('\r'))
            text.chop(1);
        return text;
    }

    bool header()
    {
        const std::optional<QByteArray> text = line(HeaderLimit - headerSize);
        if (!text)
            return false;
        headerSize += text->size() + 2;
        if (code == 0) {
            // "HTTP/1.1 200 OK"
            const QList<QByteArray> words = text->split(' ');
            bool number = false;
            code = words.size() >= 2 && words[0].startsWith("HTTP/1.") ? words[1].toInt(&number) : 0;
            if (!number || code < 100 || code > 999)
                now = State::Failed;
            return now != State::Failed;
        }
        if (!text->isEmpty()) {
            const qsizetype colon = text->indexOf(':');
            const QByteArray name = colon < 0 ? QByteArray() : text->left(colon).trimmed().toLower();
            const QByteArray value = colon < 0 ? QByteArray() : text->mid(colon + 1).trimmed();
            if (name == "content-length") {
                bool number = false;
                remaining = value.toLongLong(&number);
                if (!number || remaining < 0 || remaining > Transfer::BodyLimit)
                    now = State::Failed;
            } else if (name == "transfer-encoding") {
                chunked = value.toLower().endsWith("chunked");
            } else if (name == "location") {
                locationHeader = value;
            }
            return now != State::Failed;
        }
        // The header has ended. An interim answer ("100 Continue") is followed by the real one.
        if (code < 200) {
            code = 0;
            remaining = -1;
            chunked = false;
            return true;
        }
        if (code == 204 || code == 304)
            now = State::Done;
        else if (chunked)
            now = State::ChunkSize;
        else
            now = remaining == 0 ? State::Done : State::Body;
        return true;
    }

    // Body bytes, up to the length given (or to the end of the connection when there is none).
    bool bodyPart()
    {
        qsizetype count = pending.size() - used;
        if (remaining >= 0)
            count = std::min<qsizetype>(count, remaining);
        if (count == 0)
            return false;
        content.append(pending.constData() + used, count);
        used += count;
        if (content.size() > Transfer::BodyLimit) {
            now = State::Failed;
            return false;
        }
        if (remaining >= 0) {
            remaining -= count;
            if (remaining == 0)
                now = now == State::ChunkData ? State::ChunkEnd : State::Done;
        }
        return true;
    }

    bool chunkSize()
    {
        const std::optional<QByteArray> text = line(ChunkLineLimit);
        if (!text)
            return false;
        // "1a;name=value": the size in hexadecimal, then extensions, which say nothing to us.
        const qsizetype extensions = text->indexOf(';');
        bool number = false;
        remaining = (extensions < 0 ? *text : text->left(extensions)).trimmed().toLongLong(&number, 16);
        if (!number || remaining < 0 || remaining > Transfer::BodyLimit) {
            now = State::Failed;
            return false;
        }
        now = remaining == 0 ? State::Trailer : State::ChunkData;
        return true;
    }

    bool chunkEnd()
    {
        const std::optional<QByteArray> text = line(ChunkLineLimit);
        if (!text)
            return false;
        now = text->isEmpty() ? State::ChunkSize : State::Failed;
        return now != State::Failed;
    }

    bool trailer()
    {
        const std::optional<QByteArray> text = line(HeaderLimit - headerSize);
        if (!text)
            return false;
        headerSize += text->size() + 2;
        if (text->isEmpty())
            now = State::Done;
        return true;
    }

    static constexpr qint64 HeaderLimit = Transfer::HeaderLimit;

    State now = State::Header;
    QByteArray pending;
    qsizetype used = 0;
    qint64 headerSize = 0;
    int code = 0;
    bool chunked = false;
    qint64 remaining = -1; // body bytes still to come; -1: up to the end of the connection
    QByteArray locationHeader;
    QByteArray content;
};

} // namespace

Transfer::Transfer(QObject* parent)
    : QObject(parent)
{
}

Transfer::~Transfer() = default;

std::optional<QByteArray> Transfer::OpenURL(const std::string& url)
{
    if (StillExecuting())
        return std::nullopt;
    cancelled = false;
    QUrl address(fromLocal(url), QUrl::StrictMode);
    if (!isHttp(address))
        return std::nullopt;

    running = true;
    endBy = std::chrono::steady_clock::now() + timeout;
    const BusyPointer busy;
    std::optional<Answer> answer;
    for (int redirects = 0;; ++redirects) {
        answer = exchange(address);
        if (!answer || answer->status < 300 || answer->status > 399 || answer->location.isEmpty()
            || redirects == RedirectLimit)
            break;
        const QUrl next = address.resolved(QUrl::fromEncoded(answer->location, QUrl::StrictMode));
        // Never from an encrypted connection to a plain one.
        if (!isHttp(next) || (address.scheme() == QLatin1String("https") && next.scheme() != QLatin1String("https")))
            break;
        address = next;
    }
    running = false;

    if (!answer || cancelled || answer->status < 200 || answer->status > 299)
        return std::nullopt;
    return std::move(answer->body);
}

std::optional<Transfer::Answer> Transfer::exchange(const QUrl& address)
{
    const bool encrypted = address.scheme() == QLatin1String("https");
    if (encrypted && !QSslSocket::supportsSsl())
        return std::nullopt;
    const std::unique_ptr<QTcpSocket> connection(encrypted ? new QSslSocket : new QTcpSocket);
    connection->setReadBufferSize(ReadPiece);

    AnswerReader reader;
    QEventLoop loop;
    waiting = &loop;
    const auto endIfOver = [&] {
        if (reader.state() == AnswerReader::State::Done || reader.state() == AnswerReader::State::Failed)
            loop.quit();
    };
    const auto read = [&] {
        while (connection->bytesAvailable() > 0 && reader.state() != AnswerReader::State::Done
            && reader.state() != AnswerReader::State::Failed)
            reader.take(connection->read(ReadPiece));
        endIfOver();
    };
    const auto send = [&] {
        const QByteArray target = address.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
        const QByteArray host = address.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1();
        connection->write("GET " + (target.isEmpty() ? QByteArray("/") : target) + " HTTP/1.1\r\nHost: " + host
            + "\r\nAccept-Encoding: identity\r\nConnection: close\r\n\r\n");
    };
    if (encrypted)
        connect(static_cast<QSslSocket*>(connection.get()), &QSslSocket::encrypted, &loop, send);
    else
        connect(connection.get(), &QTcpSocket::connected, &loop, send);
    connect(connection.get(), &QTcpSocket::readyRead, &loop, read);
    // An error or the server's closing ends the exchange; a closed connection may be how the body ends.
    const auto end = [&] {
        read();
        reader.closed();
        loop.quit();
    };
    connect(connection.get(), &QTcpSocket::errorOccurred, &loop, end);
    connect(connection.get(), &QTcpSocket::disconnected, &loop, end);
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(endBy - std::chrono::steady_clock::now());
    deadline.start(std::max(left, std::chrono::milliseconds(0)));

    const quint16 port = static_cast<quint16>(address.port(encrypted ? 443 : 80));
    if (encrypted)
        static_cast<QSslSocket*>(connection.get())->connectToHostEncrypted(address.host(), port);
    else
        connection->connectToHost(address.host(), port);
    loop.exec();

    // However it ended, the connection ends here: nothing goes on reading after the fetch.
    waiting = nullptr;
    connection->disconnect(&loop);
    connection->abort();
    if (reader.state() != AnswerReader::State::Done)
        return std::nullopt;
    return Answer {reader.status(), reader.location(), reader.body()};
}

void Transfer::Cancel()
{
    if (!running)
        return;
    cancelled = true;
    if (waiting != nullptr)
        waiting->quit();
}

} // namespace doorsel
