#pragma once
// How much sound the output keeps in the server's hands, decided by the dropouts it meets.
// It starts at two blocks of the chosen size. Dropouts that repeat add a block, up to four;
// dropouts that go on at four blocks move to the next larger block size (three of them, so
// the time the program may be late only grows).
//
// A step up costs latency on every key, so it is only kept while it pays: the time between
// the dropouts before the step is the rate it has to beat. When the first dropout after the
// step comes no later than that, more in hand did not help (the stall is not ours to cover:
// the server or the machine stops longer than any buffer): the output steps straight back and
// does not try that step again for ten minutes.
//
// A quiet spell (a minute) takes one step back, towards the start. When a step back meets
// dropouts again before a quiet spell has passed, the machine is busy for longer than that:
// the next step back waits twice as long (up to a quarter of an hour), so that a busy machine
// does not drop out once a minute. A block size the player chose stays: only the number of
// blocks moves then.
//
// Dropouts close together are one stall of the machine: after a change, and after a dropout
// that counted, the dropouts of the settling time count for nothing. Runs on the audio thread:
// no locks, no allocation.

#include <chrono>

namespace orvena {

struct BufferSize {
    unsigned block_frames;
    unsigned blocks;
    bool operator==(const BufferSize&) const = default;
};

// Why the size last moved, for the log and the settings dialog.
enum class SizeChange { none, grew, quiet, did_not_help };

class BlockSizePolicy {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    static constexpr unsigned kStartBlocks = 2;
    static constexpr unsigned kMaxBlocks = 4;
    // The largest block the policy moves to by itself (21 ms at 48 kHz).
    static constexpr unsigned kLargestAutomaticBlock = 1024;
    static constexpr std::chrono::milliseconds kSettleTime{500};
    static constexpr std::chrono::seconds kQuietTime{60};
    static constexpr std::chrono::seconds kLongestQuietTime{960};
    // How long a step up that did not help is not tried again.
    static constexpr std::chrono::minutes kRetryTime{10};

    // block_fixed: the player chose the block size.
    BlockSizePolicy(unsigned block_frames, bool block_fixed, TimePoint start) noexcept;

    // The device ran dry at `now`, while a note sounded.
    void underrun(TimePoint now) noexcept;
    // Called as blocks are asked for: steps back after a quiet spell.
    void tick(TimePoint now) noexcept;
    BufferSize size() const noexcept;
    SizeChange last_change() const noexcept { return last_change_; }

  private:
    int highest_level() const noexcept;
    bool may_step_up(TimePoint now) const noexcept;
    void note_dropout_after_step_back(TimePoint now) noexcept;
    void move_to(int level, TimePoint now, SizeChange why) noexcept;

    unsigned base_block_;
    bool block_fixed_;
    int level_ = 0;
    TimePoint changed_at_;
    TimePoint quiet_since_;
    std::chrono::seconds quiet_time_ = kQuietTime;
    bool stepped_back_ = false;  // the last change was a step back after a quiet spell
    SizeChange last_change_ = SizeChange::none;
    // The last dropout that counted at this size, if any.
    bool counted_ = false;
    TimePoint last_counted_;
    // A step up on trial: the time between dropouts it has to beat.
    bool on_trial_ = false;
    std::chrono::steady_clock::duration gap_before_{};
    // A step up that did not help, and until when it is not tried again.
    int barred_level_ = -1;
    TimePoint barred_until_;
};

}  // namespace orvena
