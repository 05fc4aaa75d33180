#include "sound/output_choice.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

namespace orvena {

namespace {

const AudioSystemInfo* find_system(const std::vector<AudioSystemInfo>& systems, AudioApi api) {
    const auto it = std::find_if(systems.begin(), systems.end(),
                                 [api](const AudioSystemInfo& s) { return s.api == api; });
    return it == systems.end() ? nullptr : &*it;
}

bool lists_device(const AudioSystemInfo& system, const std::string& id) {
    return std::any_of(system.devices.begin(), system.devices.end(),
                       [&id](const AudioDevice& d) { return d.id == id; });
}

void add_once(std::vector<OutputRequest>& list, OutputRequest request) {
    if (std::find(list.begin(), list.end(), request) == list.end()) {
        list.push_back(std::move(request));
    }
}

}  // namespace

std::string_view api_name(AudioApi api) {
    switch (api) {
        case AudioApi::jack:
            return "jack";
        case AudioApi::pulse:
            return "pulse";
        case AudioApi::alsa:
            return "alsa";
    }
    return "?";
}

std::optional<AudioApi> api_from_name(std::string_view name) {
    for (const AudioApi api : kApiPreference) {
        if (api_name(api) == name) return api;
    }
    return std::nullopt;
}

std::vector<OutputRequest> output_candidates(const std::vector<AudioSystemInfo>& systems,
                                             const AudioChoice& choice) {
    std::vector<OutputRequest> list;
    if (choice.silent) return list;
    const unsigned block = choice.block_frames;
    const bool fixed = choice.block_chosen;
    // The player's own system (and device) first, when it is there.
    if (choice.api) {
        const AudioSystemInfo* chosen = find_system(systems, *choice.api);
        if (chosen != nullptr && chosen->available) {
            add_once(list, {*choice.api, choice.device, block, fixed});
        }
    }
    for (const AudioApi api : kApiPreference) {
        const AudioSystemInfo* system = find_system(systems, api);
        if (system == nullptr || !system->available) continue;
        if (!choice.device.empty() && lists_device(*system, choice.device)) {
            add_once(list, {api, choice.device, block, fixed});
        }
        add_once(list, {api, "", block, fixed});
        // Without a server, ALSA's default may be busy or missing where a card is not.
        if (api == AudioApi::alsa) {
            for (const AudioDevice& d : system->devices) add_once(list, {api, d.id, block, fixed});
        }
    }
    return list;
}

OpenedOutput open_output(AudioHost& host, const AudioChoice& choice, std::ostream& log) {
    OpenedOutput result;
    result.systems = host.systems();
    std::string why_not;
    if (choice.silent) why_not = "ayarlarda ses kapalı";
    for (const AudioSystemInfo& s : result.systems) {
        if (choice.api == s.api && !s.available) {
            log << "ORVENA: " << api_name(s.api) << " is not available (" << s.why_not
                << "); trying the others\n";
        }
    }
    for (const OutputRequest& request : output_candidates(result.systems, choice)) {
        std::string reason;
        auto out = host.open(request, reason);
        if (out) {
            log << "ORVENA: sound " << describe_output(*out) << "\n";
            result.output = std::move(out);
            result.request = request;
            return result;
        }
        log << "ORVENA: " << api_name(request.api) << " '"
            << (request.device.empty() ? "default" : request.device) << "' did not open: " << reason
            << "\n";
        why_not = std::move(reason);
    }
    if (why_not.empty()) {
        why_not = "ses sistemi bulunamadı";
        for (const AudioSystemInfo& s : result.systems) {
            if (!s.why_not.empty())
                why_not += "; " + std::string(api_name(s.api)) + ": " + s.why_not;
        }
    }
    log << "ORVENA: playing silently (" << why_not << ")\n";
    result.output = std::make_unique<NullOutput>(48000.0, why_not);
    return result;
}

std::string describe_output(const AudioOutput& output) {
    if (!output.is_device()) return "silent (" + output.description() + ")";
    char figures[200];
    const unsigned blocks = output.buffer_blocks();
    char buffer[48] = "";
    if (blocks != 0) std::snprintf(buffer, sizeof buffer, " (%u in hand)", blocks);
    std::snprintf(
        figures, sizeof figures, ", %u-frame blocks%s at %.0f Hz, latency %.1f ms, %llu underruns",
        output.block_frames(), buffer, output.sample_rate(), output.latency_seconds() * 1000.0,
        static_cast<unsigned long long>(output.underruns()));
    return output.description() + figures;
}

}  // namespace orvena
