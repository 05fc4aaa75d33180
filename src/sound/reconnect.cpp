#include "sound/reconnect.h"

#include <algorithm>

namespace orvena {

Reconnect::Reconnect(OutputRequest lost, TimePoint lost_at)
    : request_(std::move(lost)), next_try_(lost_at + kFirstWait) {}

void Reconnect::failed(TimePoint now) {
    ++tries_;
    wait_ = std::min(wait_ * 2, kLongestWait);
    next_try_ = now + wait_;
}

std::unique_ptr<AudioOutput> Reconnect::reopen(AudioHost& host, const OutputRequest& request,
                                               std::string& why_not) {
    auto output = host.open(request, why_not);
    if (output != nullptr && output->lost()) {
        why_not = "ses çıkışı açılırken gitti";
        return nullptr;
    }
    return output;
}

}  // namespace orvena
