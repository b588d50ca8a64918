#include "secondstart.h"

#include "platform/windowinstance.h"

#include <QSocketNotifier>

namespace doorsel {

void AnswerSecondStarts(WindowInstance& instance, QObject& owner, std::function<void()> comeForward)
{
    if (instance.requestHandle() < 0)
        return;
    auto* notifier = new QSocketNotifier(static_cast<qintptr>(instance.requestHandle()), QSocketNotifier::Read, &owner);
    QObject::connect(notifier, &QSocketNotifier::activated, &owner, [&instance, comeForward = std::move(comeForward)] {
        instance.takeRequests();
        comeForward();
    });
}

} // namespace doorsel
