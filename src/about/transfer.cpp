#include "transfer.h"

#include "widgets/busypointer.h"
#include "widgets/localtext.h"

#include <QApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace doorsel {
namespace {

constexpr qint64 ReadBufferSize = qint64 {64} * 1024;

bool isHttp(const QUrl& url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

} // namespace

Transfer::Transfer(QObject* parent)
    : QObject(parent)
    , manager(new QNetworkAccessManager(this))
{
}

Transfer::~Transfer() = default;

std::optional<QByteArray> Transfer::OpenURL(const std::string& url)
{
    if (StillExecuting())
        return std::nullopt;
    cancelled = false;
    const QUrl address(fromLocal(url), QUrl::StrictMode);
    if (!isHttp(address))
        return std::nullopt;

    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    std::unique_ptr<QNetworkReply> current(manager->get(request));
    reply = current.get();
    // Without a cap the network thread reads as fast as the server sends and queues each piece (a
    // one-byte chunk each, from a hostile server) for this thread, far faster than it takes them.
    current->setReadBufferSize(ReadBufferSize);

    QByteArray body;
    bool failed = false;
    const auto giveUp = [&] {
        failed = true;
        current->abort();
    };
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, current.get(), giveUp);
    // The limit holds while reading: a larger answer is cut off before it is all in memory.
    const auto take = [&] {
        body += current->readAll();
        if (body.size() > BodyLimit)
            giveUp();
    };
    connect(current.get(), &QNetworkReply::metaDataChanged, current.get(), [&] {
        if (current->header(QNetworkRequest::ContentLengthHeader).toLongLong() > BodyLimit)
            giveUp();
    });
    connect(current.get(), &QNetworkReply::readyRead, current.get(), take);
    connect(current.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);

    {
        const BusyPointer busy;
        deadline.start(timeout);
        if (!current->isFinished())
            loop.exec();
    }
    deadline.stop();
    reply = nullptr;
    if (!failed && current->error() == QNetworkReply::NoError)
        take();

    const int status = current->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool received
        = !failed && !cancelled && current->error() == QNetworkReply::NoError && status >= 200 && status <= 299;
    if (failed || cancelled) {
        // An aborted reply does not always let go of its connection: one whose header never ends
        // goes on being read on the network thread, and holds the connection the next fetch would
        // use. A new manager brings a new thread; the old one ends and closes its connections.
        current.reset();
        renewManager();
    }
    if (!received)
        return std::nullopt;
    return body;
}

void Transfer::renewManager()
{
    delete manager;
    manager = new QNetworkAccessManager(this);
}

void Transfer::Cancel()
{
    if (!reply)
        return;
    cancelled = true;
    reply->abort();
}

} // namespace doorsel
