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

bool BlockSizePolicy::may_step_up(TimePoint now) const noexcept {
    if (level_ >= highest_level()) return false;
    return level_ + 1 != barred_level_ || now >= barred_until_;
}

void BlockSizePolicy::move_to(int level, TimePoint now, SizeChange why) noexcept {
    level_ = level;
    changed_at_ = now;
    quiet_since_ = now;
    last_change_ = why;
    stepped_back_ = why == SizeChange::quiet;
    counted_ = false;
    on_trial_ = false;
}

// Dropouts soon after a quiet step back: the machine is busy for longer than a quiet spell.
void BlockSizePolicy::note_dropout_after_step_back(TimePoint now) noexcept {
    if (stepped_back_ && now - changed_at_ < quiet_time_) {
        quiet_time_ = std::min(2 * quiet_time_, kLongestQuietTime);
    }
    stepped_back_ = false;
}

void BlockSizePolicy::underrun(TimePoint now) noexcept {
    quiet_since_ = now;
    if (now - changed_at_ < kSettleTime) return;
    if (counted_ && now - last_counted_ < kSettleTime) return;
    note_dropout_after_step_back(now);
    // The time since the step on trial, or since the last dropout of a spell that is not over.
    const bool has_gap = on_trial_ || (counted_ && now - last_counted_ < quiet_time_);
    const auto gap = now - (on_trial_ ? changed_at_ : last_counted_);
    counted_ = true;
    last_counted_ = now;
    if (!has_gap) return;  // the first of a spell: how often they come is not known yet
    if (on_trial_ && gap <= gap_before_) {
        barred_level_ = level_;
        barred_until_ = now + kRetryTime;
        move_to(level_ - 1, now, SizeChange::did_not_help);
        return;
    }
    on_trial_ = false;
    if (!may_step_up(now)) return;
    move_to(level_ + 1, now, SizeChange::grew);
    on_trial_ = true;
    gap_before_ = gap;
}

void BlockSizePolicy::tick(TimePoint now) noexcept {
    if (level_ == 0 || now - quiet_since_ < quiet_time_) return;
    move_to(level_ - 1, now, SizeChange::quiet);
}

BufferSize BlockSizePolicy::size() const noexcept {
    return size_at(base_block_, level_);
}

}  // namespace orvena
