#pragma once
// Runs a piece of work that may wait (a question to a system service) on a thread of its own
// and hands the text it returns to `done` on the event thread. A result that comes after
// this object is gone is dropped. Event thread only (the work itself runs elsewhere).

#include <QObject>

#include <functional>
#include <memory>
#include <string>

namespace orvena {

class BackgroundText {
  public:
    explicit BackgroundText(QObject& context);
    ~BackgroundText();
    BackgroundText(const BackgroundText&) = delete;
    BackgroundText& operator=(const BackgroundText&) = delete;

    void run(std::function<std::string()> work, std::function<void(const std::string&)> done);

  private:
    struct Shared;
    QObject& context_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace orvena
