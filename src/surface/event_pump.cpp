#include "surface/event_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>

namespace orvena {

void QtEventPump::process_pending() {
    // Posted events first (deferred deletes excepted), so a click queued by the window system
    // a moment ago reaches its handler in this same pass.
    QCoreApplication::sendPostedEvents();
    // Input an earlier pass left queued has nothing to wake the loop for it: without this it
    // would wait for the next event (a key's release, a mouse move) to arrive.
    if (QAbstractEventDispatcher* loop = QCoreApplication::eventDispatcher()) loop->wakeUp();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::process_non_input() {
    // Input stays queued in the window system until the next process_pending().
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace orvena
