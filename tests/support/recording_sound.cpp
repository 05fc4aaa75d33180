#include "support/recording_sound.h"

#include <ostream>

namespace orvena::test {

std::string to_string(const SoundCall& call) {
    switch (call.kind) {
        case SoundCall::Kind::play_tuned_sample:
            return "play_tuned_sample(" + std::to_string(call.string) + ", " +
                   std::to_string(call.lever) + ")";
        case SoundCall::Kind::play_note_alias:
            return "play_note_alias(" + call.file + ", " + call.alias + ")";
        case SoundCall::Kind::stop_note_alias:
            return "stop_note_alias(" + call.alias + ")";
        case SoundCall::Kind::stop_plucked:
            return "stop_plucked()";
    }
    return "?";
}

std::ostream& operator<<(std::ostream& out, const SoundCall& call) {
    return out << to_string(call);
}

}  // namespace orvena::test
