#include "files/output_batch.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "files/shown_text.h"

namespace orvena {

namespace fs = std::filesystem;

OutputBatch::OutputBatch(OutputRules rules, LinkFunction link)
    : rules_(std::move(rules)), link_(link) {}

OutputBatch::~OutputBatch() = default;

std::optional<std::string> OutputBatch::add(const fs::path& target, std::string_view bytes) {
    auto file = std::make_unique<OutputFile>(target, rules_);
    if (auto problem = file->open()) return problem;
    for (const auto& other : files_)
        if (other->destination() == file->destination())
            return in_quotes(target) + " aynı işte iki kez yazılamaz.";
    if (auto problem = file->write(bytes)) return problem;
    if (auto problem = file->finish_writing()) return problem;
    files_.push_back(std::move(file));
    return std::nullopt;
}

void OutputBatch::take_back(const std::vector<Placed>& placed) {
    for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
        if (!it->replaced) {
            ::unlink(it->destination.c_str());
        } else if (!it->backup.empty()) {
            ::rename(it->backup.c_str(), it->destination.c_str());
        }
    }
}

std::optional<std::string> OutputBatch::place_all(std::vector<Placed>& placed) {
    // Files first, devices last: only a file can be taken back.
    std::stable_partition(files_.begin(), files_.end(),
                          [](const auto& f) { return f->way() != OutputWay::in_place; });
    for (const auto& file : files_) {
        Placed entry{file->destination(), {}, file->way() == OutputWay::replace};
        if (entry.replaced) {
            // A second name for the old file, so it can come back; it costs no disk space. A
            // file system without such names keeps the new file whatever happens after it.
            entry.backup = file->temporary_;
            entry.backup += ".old";
            if (link_(entry.destination.c_str(), entry.backup.c_str()) != 0) {
                if (errno != EPERM && errno != EOPNOTSUPP) return file->failure(errno);
                entry.backup.clear();
            }
        }
        if (auto problem = file->put_in_place()) {
            if (!entry.backup.empty()) ::unlink(entry.backup.c_str());
            return problem;
        }
        if (file->way() != OutputWay::in_place) placed.push_back(entry);
    }
    return std::nullopt;
}

std::optional<std::string> OutputBatch::commit() {
    std::vector<Placed> placed;
    auto problem = place_all(placed);
    if (problem) {
        take_back(placed);
    } else {
        for (const Placed& entry : placed)
            if (!entry.backup.empty()) ::unlink(entry.backup.c_str());
    }
    files_.clear();  // cancels whatever was not placed
    return problem;
}

}  // namespace orvena
