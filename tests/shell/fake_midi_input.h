#pragma once
// A MIDI input without a device: the test lists the ports, and sends messages and failures
// from a thread of its own, as a device's thread would.

#include <algorithm>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "playing/midi_input.h"

namespace orvena::test {

struct FakeMidiDevice {
    std::vector<std::string> ports;
    std::string open_port;  // empty while closed
    int opens = 0;
    MidiInput::MessageHandler on_message;
    MidiInput::ErrorHandler on_error;

    // From another thread, and only once that thread has ended.
    void send(std::vector<unsigned char> message) {
        std::thread([&] { on_message(std::move(message)); }).join();
    }
    void fail(const std::string& what) {
        std::thread([&] { on_error(what); }).join();
    }
};

class FakeMidiInput final : public MidiInput {
  public:
    explicit FakeMidiInput(std::shared_ptr<FakeMidiDevice> device) : device_(std::move(device)) {}
    ~FakeMidiInput() override { close(); }

    std::vector<std::string> ports() override { return device_->ports; }
    bool open(const std::string& port, MessageHandler on_message, ErrorHandler on_error) override {
        close();
        const auto& ports = device_->ports;
        if (std::find(ports.begin(), ports.end(), port) == ports.end()) return false;
        ++device_->opens;
        device_->open_port = port;
        // A device keeps its handlers: a late message of a closed port must be dropped.
        device_->on_message = std::move(on_message);
        device_->on_error = std::move(on_error);
        return true;
    }
    void close() override { device_->open_port.clear(); }

  private:
    std::shared_ptr<FakeMidiDevice> device_;
};

}  // namespace orvena::test
