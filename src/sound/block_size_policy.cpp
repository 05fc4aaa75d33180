#include "sound/block_size_policy.h"

#include <algorithm>

namespace orvena {

namespace {

// Level 0 is two blocks of the start size; from there each level adds a block, and after
// four blocks the next level doubles the block with three of them.
BufferSize size_at(unsigned base_block, int level) {
    if (level == 0) return {base_block, BlockSizePolicy::kStartBlocks};
    const auto above = static_cast<unsigned>(level - 1);
    return {base_block << (above / 2), 3 + above % 2};
}

}  // namespace

BlockSizePolicy::BlockSizePolicy(unsigned block_frames, bool block_fixed, TimePoint start) noexcept
    : base_block_(block_frames),
      block_fixed_(block_fixed),
      changed_at_(start),
      quiet_since_(start) {}

int BlockSizePolicy::highest_level() const noexcept {
    if (block_fixed_) return 2;
    const unsigned largest = std::max(kLargestAutomaticBlock, base_block_);
    int level = 2;
    while (size_at(base_block_, level + 1).block_frames <= largest) ++level;
    return level;
}

void BlockSizePolicy::move_to(int level, TimePoint now) noexcept {
    level_ = level;
    changed_at_ = now;
    quiet_since_ = now;
}

void BlockSizePolicy::underrun(TimePoint now) noexcept {
    quiet_since_ = now;
    if (now - changed_at_ < kSettleTime) return;
    if (level_ >= highest_level()) return;
    if (stepped_back_ && now - changed_at_ < quiet_time_) {
        quiet_time_ = std::min(2 * quiet_time_, kLongestQuietTime);
    }
    stepped_back_ = false;
    move_to(level_ + 1, now);
}

void BlockSizePolicy::tick(TimePoint now) noexcept {
    if (level_ == 0 || now - quiet_since_ < quiet_time_) return;
    move_to(level_ - 1, now);
    stepped_back_ = true;
}

BufferSize BlockSizePolicy::size() const noexcept {
    return size_at(base_block_, level_);
}

}  // namespace orvena
