#pragma once
// Writing a file the user named (an export, a render) without ever harming another file:
// - refused: every file the program owns (owned_files.h), the files the export reads, a folder,
//   a block device or a socket;
// - a regular file or a new name is saved atomically: the bytes go to a temporary file beside
//   it, which replaces the target only once complete, so a failure leaves the old file whole;
// - a character device or a FIFO (/dev/null, a pipe to another program) is never renamed over:
//   the bytes wait in a scratch file and are written into it in place at the end, and a write
//   error ("diskte yer kalmadı" from /dev/full) is reported. The window may refuse these.
// Every refusal and failure is a Turkish sentence naming the file, ready for a message.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvena {

struct OutputRules {
    std::vector<std::filesystem::path> program_folders;  // their owned files are refused
    std::vector<std::filesystem::path> inputs;           // what the export reads: never its output
    bool in_place_allowed = true;  // false: character devices and FIFOs are refused too
};

enum class OutputWay {
    new_file,  // nothing of that name yet
    replace,   // a regular file, replaced whole at the end
    in_place,  // a character device or a FIFO, written into at the end
};

// Why target may not be written under rules, or nothing when it may. Checks only; the answer
// may change before the file is written, so OutputFile::open checks again.
std::optional<std::string> output_refusal(const std::filesystem::path& target,
                                          const OutputRules& rules);

// One file being written. Usage: open(), then write() or the descriptor handle(), then commit();
// an OutputFile destroyed or cancelled before its commit leaves the target as it was.
class OutputFile {
  public:
    OutputFile(std::filesystem::path target, OutputRules rules);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Checks the target and opens the file the bytes go to. A refusal or a failure is a
    // sentence for the user; nothing has been touched then.
    std::optional<std::string> open();

    // The descriptor of the bytes written so far: seekable and readable, for libraries that
    // write through a descriptor. -1 before open and after commit or cancel.
    int handle() const { return fd_; }

    // Appends bytes at the descriptor's position; a failure is a sentence naming the target.
    std::optional<std::string> write(std::string_view bytes);

    // Makes the bytes written the target's content; a failure leaves a regular target as it was
    // (a device may have taken part of them).
    std::optional<std::string> commit();
    void cancel();

    // Free bytes where the bytes wait until the commit; nothing when the system does not say.
    std::optional<std::uint64_t> free_bytes() const;

    OutputWay way() const { return way_; }
    const std::filesystem::path& target() const { return target_; }
    // Where the bytes land: the target with its links followed.
    const std::filesystem::path& destination() const { return destination_; }

    // The sentence for a failure errno err on this file: "<target>" yazılamadı: <reason>.
    std::string failure(int err) const;

  private:
    friend class OutputBatch;
    std::optional<std::string> finish_writing();  // flushes and closes the temporary file
    std::optional<std::string> put_in_place();    // rename, or copy into the device
    std::optional<std::string> copy_into_device();

    std::filesystem::path target_;
    OutputRules rules_;
    std::filesystem::path destination_;
    OutputWay way_ = OutputWay::new_file;
    std::filesystem::path temporary_;  // beside the destination; empty for a scratch file
    int fd_ = -1;
    bool written_ = false;  // the bytes are in a closed temporary file, ready to rename
};

// Writes bytes to target as OutputFile does; nothing on success, else why not.
std::optional<std::string> save_file(const std::filesystem::path& target, std::string_view bytes,
                                     const OutputRules& rules);

}  // namespace orvena
