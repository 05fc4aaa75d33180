#pragma once
// Several files written as one: each is saved as OutputFile saves it, and either all of them
// take their new content or none does (files replaced are put back, new ones removed). Only a
// device or FIFO among them cannot take back what it was given; they are written last.

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/safe_output.h"

namespace orvena {

class OutputBatch {
  public:
    // link gives a replaced file the second name that can bring it back (tests refuse it).
    using LinkFunction = int (*)(const char* existing, const char* new_name);
    explicit OutputBatch(OutputRules rules, LinkFunction link = ::link);
    ~OutputBatch();
    OutputBatch(const OutputBatch&) = delete;
    OutputBatch& operator=(const OutputBatch&) = delete;

    // Checks target and writes bytes to its temporary file; nothing of the targets changes yet.
    // A refusal or failure is a sentence for the user.
    std::optional<std::string> add(const std::filesystem::path& target, std::string_view bytes);

    // Puts every file added in place, or none. After a failure nothing of the batch is left.
    std::optional<std::string> commit();

  private:
    struct Placed {
        std::filesystem::path destination;
        std::filesystem::path backup;  // a second name of the file replaced, when one was made
        bool replaced = false;         // false: a new name, removed if the batch fails
    };
    std::optional<std::string> place_all(std::vector<Placed>& placed);
    static void take_back(const std::vector<Placed>& placed);

    OutputRules rules_;
    LinkFunction link_;
    std::vector<std::unique_ptr<OutputFile>> files_;
};

}  // namespace orvena
