#pragma once
// A MIDI input port seen from the program: the ports found, and one port open at a time.
// ports(), open() and close() run on the event thread; the handlers given to open() run on
// the device's own thread and must only hand their data over. After close() returns (or the
// input is destroyed) no handler runs any more.

#include <functional>
#include <string>
#include <vector>

namespace orvena {

class MidiInput {
  public:
    using MessageHandler = std::function<void(std::vector<unsigned char> message)>;
    // A failure of the open port (the device went away); the text is for the log.
    using ErrorHandler = std::function<void(std::string what)>;

    virtual ~MidiInput() = default;
    // The names of the input ports found now; empty without a MIDI system.
    virtual std::vector<std::string> ports() = 0;
    // Closes the open port, if any, and opens the named one. False when it cannot be opened.
    virtual bool open(const std::string& port, MessageHandler on_message,
                      ErrorHandler on_error) = 0;
    virtual void close() = 0;
};

}  // namespace orvena
