#include "secondstart.h"

#include "platform/windowinstance.h"

#include <QWinEventNotifier>

namespace doorsel {

void AnswerSecondStarts(WindowInstance& instance, QObject& owner, std::function<void()> comeForward)
{
    if (instance.requestHandle() == -1)
        return;
    // NOLINTNEXTLINE(performance-no-int-to-ptr)
    auto* notifier = new QWinEventNotifier(reinterpret_cast<Qt::HANDLE>(instance.requestHandle()), &owner);
    QObject::connect(
        notifier, &QWinEventNotifier::activated, &owner, [&instance, comeForward = std::move(comeForward)] {
            instance.takeRequests();
            comeForward();
        });
}

} // namespace doorsel
