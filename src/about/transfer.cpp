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
    const std::unique_ptr<QNetworkReply> current(manager->get(request));
    reply = current.get();

    QByteArray body;
    bool failed = false;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, current.get(), [&] {
        failed = true;
        current->abort();
    });
    // The limit holds while reading: a larger answer is cut off before it is all in memory.
    const auto take = [&] {
        body += current->readAll();
        if (body.size() > BodyLimit) {
            failed = true;
            current->abort();
        }
    };
    connect(current.get(), &QNetworkReply::metaDataChanged, current.get(), [&] {
        if (current->header(QNetworkRequest::ContentLengthHeader).toLongLong() > BodyLimit) {
            failed = true;
            current->abort();
        }
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
    if (failed || cancelled || current->error() != QNetworkReply::NoError || status < 200 || status > 299)
        return std::nullopt;
    return body;
}

void Transfer::Cancel()
{
    if (!reply)
        return;
    cancelled = true;
    reply->abort();
}

} // namespace doorsel
