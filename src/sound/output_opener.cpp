#include "sound/output_opener.h"

#include <QMetaObject>
#include <QTimer>

#include <mutex>
#include <thread>

namespace orvena {

struct OutputOpener::Shared {
    std::mutex mutex;
    bool abandoned = false;  // the opener is gone: nothing is delivered any more
    unsigned generation = 0;
    unsigned delivered = 0;
};

OutputOpener::OutputOpener(QObject& context, std::chrono::milliseconds time_limit)
    : context_(context), time_limit_(time_limit), shared_(std::make_shared<Shared>()) {}

OutputOpener::~OutputOpener() {
    const std::lock_guard lock(shared_->mutex);
    shared_->abandoned = true;
}

bool OutputOpener::pending() const {
    const std::lock_guard lock(shared_->mutex);
    return shared_->delivered != shared_->generation;
}

void OutputOpener::open(Open open, Ready ready, std::function<void()> late) {
    unsigned generation = 0;
    {
        const std::lock_guard lock(shared_->mutex);
        generation = ++shared_->generation;
    }
    QObject* context = &context_;
    std::thread([shared = shared_, open = std::move(open), ready, context, generation] {
        auto result = std::make_shared<OpenedOutput>(open());
        // Posted under the lock: the opener (and its context) cannot go in between.
        const std::lock_guard lock(shared->mutex);
        if (shared->abandoned) return;
        QMetaObject::invokeMethod(
            context,
            [shared, ready, result, generation] {
                {
                    const std::lock_guard inner(shared->mutex);
                    if (shared->abandoned || generation != shared->generation) return;
                    shared->delivered = generation;
                }
                ready(std::move(*result));
            },
            Qt::QueuedConnection);
    }).detach();
    QTimer::singleShot(time_limit_, context, [shared = shared_, generation, late] {
        {
            const std::lock_guard lock(shared->mutex);
            if (shared->delivered == generation || generation != shared->generation) return;
        }
        if (late) late();
    });
}

}  // namespace orvena
