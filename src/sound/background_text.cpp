#include "sound/background_text.h"

#include <QMetaObject>

#include <mutex>
#include <thread>

namespace orvena {

struct BackgroundText::Shared {
    std::mutex mutex;
    bool abandoned = false;
};

BackgroundText::BackgroundText(QObject& context)
    : context_(context), shared_(std::make_shared<Shared>()) {}

BackgroundText::~BackgroundText() {
    const std::lock_guard lock(shared_->mutex);
    shared_->abandoned = true;
}

void BackgroundText::run(std::function<std::string()> work,
                         std::function<void(const std::string&)> done) {
    QObject* context = &context_;
    std::thread([shared = shared_, work = std::move(work), done = std::move(done), context] {
        const std::string text = work();
        // Posted under the lock: this object (and its context) cannot go in between.
        const std::lock_guard lock(shared->mutex);
        if (shared->abandoned) return;
        QMetaObject::invokeMethod(
            context,
            [shared, done, text] {
                {
                    const std::lock_guard inner(shared->mutex);
                    if (shared->abandoned) return;
                }
                done(text);
            },
            Qt::QueuedConnection);
    }).detach();
}

}  // namespace orvena
