#pragma once
// How much sound the output keeps in the server's hands, decided by the dropouts it meets.
// It starts at two blocks of the chosen size. Dropouts that repeat add a block, up to four;
// dropouts that go on at four blocks move to the next larger block size (three of them, so
// the time the program may be late only grows).
//
// A step up costs latency on every key, so it is only kept while it pays. The dropouts of the
// spell that led to it give the rate it has to beat (every one heard counts, however close).
// When, after the step, four dropouts come in the time the old rate would have brought four,
// more in hand did not make them rarer: the output steps straight back and does not try that
// size again for ten minutes. Dropouts that go on then try the next larger size instead: on a
// busy machine it is often the larger block (fewer wake-ups of the server) that helps, not one
// more block of the same size.
//
// A quiet spell (a minute) takes one step back, towards the start. When a step back meets
// dropouts again before a quiet spell has passed, the machine is busy for longer than that:
// the next step back waits twice as long (up to a quarter of an hour), so that a busy machine
// does not drop out once a minute. A block size the player chose stays: only the number of
// blocks moves then.
//
// Dropouts close together are one stall of the machine: after a change, the dropouts of the
// settling time count for nothing, and after a dropout that counted, those of the settling
// time do not make a repeat (they still count for the rate). Runs on the audio thread: no
// locks, no allocation.

#include <array>
#include <chrono>
#include <cstdint>

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
    using Duration = std::chrono::steady_clock::duration;
    static constexpr unsigned kStartBlocks = 2;
    static constexpr unsigned kMaxBlocks = 4;
    // The largest block the policy moves to by itself (21 ms at 48 kHz).
    static constexpr unsigned kLargestAutomaticBlock = 1024;
    static constexpr std::chrono::milliseconds kSettleTime{500};
    static constexpr std::chrono::seconds kQuietTime{60};
    static constexpr std::chrono::seconds kLongestQuietTime{960};
    // How long a step up that did not help is not tried again.
    static constexpr std::chrono::minutes kRetryTime{10};
    // The dropouts a step up is judged on.
    static constexpr std::int64_t kTrialDropouts = 4;

    // block_fixed: the player chose the block size.
    BlockSizePolicy(unsigned block_frames, bool block_fixed, TimePoint start) noexcept;

    // The device ran dry at `now`, while a note sounded.
    void underrun(TimePoint now) noexcept;
    // Called as blocks are asked for: steps back after a quiet spell.
    void tick(TimePoint now) noexcept;
    BufferSize size() const noexcept;
    SizeChange last_change() const noexcept { return last_change_; }

  private:
    // Enough for a one-frame start block; any real one has fewer levels.
    static constexpr int kLevels = 24;

    int highest_level() const noexcept;
    int next_level_up(TimePoint now) const noexcept;
    bool trial_dropout(TimePoint now) noexcept;
    void spell_dropout(TimePoint now) noexcept;
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
    // The spell of dropouts at this size: its last dropout that counted, when it began, and
    // every dropout heard since.
    bool counted_ = false;
    TimePoint last_counted_;
    TimePoint spell_start_;
    std::int64_t spell_heard_ = 0;
    // A step up on trial: the level it came from, the rate it has to beat (intervals per
    // time) and the dropouts heard since it settled.
    bool on_trial_ = false;
    int from_level_ = 0;
    std::int64_t before_intervals_ = 0;
    Duration before_time_{};
    std::int64_t trial_heard_ = 0;
    // Until when each size that did not help is not tried again.
    std::array<TimePoint, kLevels> barred_until_{};
};

}  // namespace orvena
