#pragma once
// Opens the sound output on a thread of its own, so that a slow or frozen sound server never
// holds up the window: the result comes back to the event thread when it is ready, and
// `late` runs if the time limit passes first. A newer open makes an older result void.
// Event thread only (the open itself runs elsewhere).

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

#include "sound/output_choice.h"

namespace orvena {

class OutputOpener {
  public:
    using Open = std::function<OpenedOutput()>;  // runs on the opener's thread
    using Ready = std::function<void(OpenedOutput)>;

    OutputOpener(QObject& context, std::chrono::milliseconds time_limit);
    // An open still running is left to finish on its own; its result is dropped.
    ~OutputOpener();
    OutputOpener(const OutputOpener&) = delete;
    OutputOpener& operator=(const OutputOpener&) = delete;

    void open(Open open, Ready ready, std::function<void()> late);
    bool pending() const;

  private:
    struct Shared;
    QObject& context_;
    std::chrono::milliseconds time_limit_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace orvena
