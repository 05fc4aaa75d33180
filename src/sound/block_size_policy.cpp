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
      quiet_since_(start) {
    barred_until_.fill(TimePoint::min());
}

int BlockSizePolicy::highest_level() const noexcept {
    if (block_fixed_) return 2;
    const unsigned largest = std::max(kLargestAutomaticBlock, base_block_);
    int level = 2;
    while (level + 1 < kLevels && size_at(base_block_, level + 1).block_frames <= largest) ++level;
    return level;
}

// The next larger size not barred, or -1.
int BlockSizePolicy::next_level_up(TimePoint now) const noexcept {
    for (int level = level_ + 1; level <= highest_level(); ++level) {
        if (now >= barred_until_[static_cast<std::size_t>(level)]) return level;
    }
    return -1;
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

// A dropout while a step up is on trial; false once the trial is over (the step is kept).
bool BlockSizePolicy::trial_dropout(TimePoint now) noexcept {
    const Duration took = now - (changed_at_ + kSettleTime);
    // The time the old rate brings kTrialDropouts in has passed with fewer: they are rarer.
    if (before_intervals_ * took.count() > kTrialDropouts * before_time_.count()) {
        on_trial_ = false;
        return false;
    }
    if (++trial_heard_ < kTrialDropouts) return true;
    barred_until_[static_cast<std::size_t>(level_)] = now + kRetryTime;
    move_to(from_level_, now, SizeChange::did_not_help);
    return true;
}

void BlockSizePolicy::spell_dropout(TimePoint now) noexcept {
    ++spell_heard_;
    if (counted_ && now - last_counted_ < kSettleTime) return;
    note_dropout_after_step_back(now);
    const bool repeat = counted_ && now - last_counted_ < quiet_time_;
    counted_ = true;
    last_counted_ = now;
    if (!repeat) {  // the first of a spell: how often they come is not known yet
        spell_start_ = now;
        spell_heard_ = 1;
        return;
    }
    const int next = next_level_up(now);
    if (next < 0) return;
    const std::int64_t intervals = spell_heard_ - 1;
    const Duration spell_time = now - spell_start_;
    from_level_ = level_;
    move_to(next, now, SizeChange::grew);
    on_trial_ = true;
    before_intervals_ = intervals;
    before_time_ = spell_time;
    trial_heard_ = 0;
}

void BlockSizePolicy::underrun(TimePoint now) noexcept {
    quiet_since_ = now;
    if (now - changed_at_ < kSettleTime) return;
    if (on_trial_ && trial_dropout(now)) return;
    spell_dropout(now);
}

void BlockSizePolicy::tick(TimePoint now) noexcept {
    if (level_ == 0 || now - quiet_since_ < quiet_time_) return;
    move_to(level_ - 1, now, SizeChange::quiet);
}

BufferSize BlockSizePolicy::size() const noexcept {
    return size_at(base_block_, level_);
}

}  // namespace orvena
