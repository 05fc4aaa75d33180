#include "support/fake_audio_host.h"

namespace orvena::test {

AudioSystemInfo system_with(AudioApi api, std::vector<std::string> device_ids) {
    AudioSystemInfo info{api, true, {}, {}};
    for (std::string& id : device_ids) info.devices.push_back({id, id});
    return info;
}

AudioSystemInfo system_without(AudioApi api, std::string why) {
    return AudioSystemInfo{api, false, std::move(why), {}};
}

}  // namespace orvena::test
