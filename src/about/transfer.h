#pragma once

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <optional>
#include <string>

class QEventLoop;
class QUrl;

namespace doorsel {

// The About window's internet transfer control `Inet1`: fetches one URL at a time over HTTP/1.1, on
// a connection of its own that it closes when the fetch ends, however it ends. The answer is read
// on this thread and decoded as it arrives, so every limit holds on what has come in so far.
// OpenURL blocks its caller until the body has arrived or the fetch has failed, but runs the event
// loop meanwhile, so the windows stay painted; a click that reaches a handler during the wait finds
// StillExecuting() true. It must outlive a fetch it runs: its owner cancels first when it closes.
class Transfer : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultTimeout {60000};
    static constexpr qint64 BodyLimit = qint64 {1024} * 1024;
    static constexpr qint64 HeaderLimit = qint64 {64} * 1024;

    explicit Transfer(QObject* parent = nullptr);
    ~Transfer() override;

    bool StillExecuting() const { return running; }

    // The body of an http or https URL answered with a 2xx status. Nothing when the fetch fails: no
    // connection, an error status, a broken or timed-out transfer, a header over HeaderLimit, a body
    // over BodyLimit, a URL of another scheme, or a fetch already in progress. Redirections are
    // followed, a few at most, never from https to http.
    std::optional<QByteArray> OpenURL(const std::string& url);

    // Ends the fetch in progress; OpenURL then returns nothing, and Cancelled() says why.
    void Cancel();
    // True when the last OpenURL ended through Cancel().
    bool Cancelled() const { return cancelled; }

    // For the whole fetch, from request to last byte.
    void setTimeout(std::chrono::milliseconds timeout) { this->timeout = timeout; }

private:
    // One request and its answer: the status and the body, or nothing when the exchange failed.
    struct Answer {
        int status = 0;
        QByteArray location;
        QByteArray body;
    };
    std::optional<Answer> exchange(const QUrl& address);

    bool running = false;
    QEventLoop* waiting = nullptr; // the exchange's, while it runs
    std::chrono::steady_clock::time_point endBy;
    std::chrono::milliseconds timeout = DefaultTimeout;
    bool cancelled = false;
};

} // namespace doorsel
