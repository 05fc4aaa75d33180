#pragma once
// A MIDI input without a device: the test lists the ports, and sends messages and failures
// from a thread of its own, as a device's thread would.

#include <algorithm>
#include <memory>
#include <thread>

#include "playing/midi_input.h"

namespace orvena::test {

struct FakeMidiDevice {
    std::vector<std::string> ports;
    std::string open_port;  // empty while closed
    // Kept after a close: a late message of a closed port must be dropped by the program.
    MidiInput::MessageHandler on_message;
    MidiInput::ErrorHandler on_error;

    void send(std::vector<unsigned char> m) {
        std::thread([&] { on_message(m); }).join();
    }
    void fail(const std::string& what) {
        std::thread([&] { on_error(what); }).join();
    }
};

class FakeMidiInput final : public MidiInput {
  public:
    explicit FakeMidiInput(std::shared_ptr<FakeMidiDevice> device) : d_(std::move(device)) {}
    std::vector<std::string> ports() override { return d_->ports; }
    bool open(const std::string& port, MessageHandler message, ErrorHandler error) override {
        d_->open_port.clear();
        if (std::find(d_->ports.begin(), d_->ports.end(), port) == d_->ports.end()) return false;
        d_->open_port = port;
        d_->on_message = std::move(message);
        d_->on_error = std::move(error);
        return true;
    }
    void close() override { d_->open_port.clear(); }

  private:
    std::shared_ptr<FakeMidiDevice> d_;
};

}  // namespace orvena::test
