#include "surface/event_pump.h"

#include <QCoreApplication>

namespace orvena {

void QtEventPump::process_pending() {
    // Posted events first (deferred deletes excepted), so a click queued by the window system
    // a moment ago reaches its handler in this same pass.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace orvena
