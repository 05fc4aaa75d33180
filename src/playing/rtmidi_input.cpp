#include "playing/rtmidi_input.h"

#include <RtMidi.h>

#include <exception>
#include <memory>

namespace orvena {

namespace {

constexpr const char* kClientName = "ORVENA";

// RtMidi reports failures by throwing unless an error callback is set; every call is wrapped.
std::unique_ptr<RtMidiIn> make_client() {
    try {
        return std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, kClientName);
    } catch (const std::exception&) {
        return nullptr;
    }
}

class RtMidiInput final : public MidiInput {
  public:
    ~RtMidiInput() override { close(); }

    std::vector<std::string> ports() override {
        // A client of its own for looking: the open port's client is read by its own thread.
        // Without a sequencer the first try says so on the log; later looks stay quiet.
        if (!lister_ && !no_sequencer_) {
            lister_ = make_client();
            no_sequencer_ = !lister_;
        }
        std::vector<std::string> names;
        if (!lister_) return names;
        try {
            const unsigned count = lister_->getPortCount();
            for (unsigned i = 0; i < count; ++i) names.push_back(lister_->getPortName(i));
        } catch (const std::exception&) {
            names.clear();
        }
        return names;
    }

    bool open(const std::string& port, MessageHandler on_message, ErrorHandler on_error) override {
        close();
        on_message_ = std::move(on_message);
        on_error_ = std::move(on_error);
        input_ = make_client();
        if (!input_) return false;
        try {
            input_->setErrorCallback(&RtMidiInput::error_callback, this);
            const unsigned count = input_->getPortCount();
            for (unsigned i = 0; i < count; ++i) {
                if (input_->getPortName(i) != port) continue;
                input_->setCallback(&RtMidiInput::message_callback, this);
                input_->ignoreTypes(true, true, true);  // no SysEx, clock or active sensing
                input_->openPort(i, kClientName);
                if (input_->isPortOpen()) return true;
                break;
            }
        } catch (const std::exception&) {
        }
        close();
        return false;
    }

    void close() override {
        // Deleting the client joins its thread, so no callback runs after this.
        input_.reset();
    }

  private:
    static void message_callback(double, std::vector<unsigned char>* message, void* self) {
        auto* input = static_cast<RtMidiInput*>(self);
        if (message && input->on_message_) input->on_message_(*message);
    }
    static void error_callback(RtMidiError::Type type, const std::string& text, void* self) {
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) return;
        auto* input = static_cast<RtMidiInput*>(self);
        if (input->on_error_) input->on_error_(text);
    }

    std::unique_ptr<RtMidiIn> lister_;
    bool no_sequencer_ = false;
    std::unique_ptr<RtMidiIn> input_;
    MessageHandler on_message_;
    ErrorHandler on_error_;
};

}  // namespace

std::unique_ptr<MidiInput> make_rtmidi_input() {
    return std::make_unique<RtMidiInput>();
}

}  // namespace orvena
