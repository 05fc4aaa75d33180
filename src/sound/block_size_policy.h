#pragma once
// How much sound the output keeps in the server's hands, decided by the dropouts it meets.
// It starts at two blocks of the chosen size. Each dropout adds a block, up to four; dropouts
// that go on at four blocks move to the next larger block size (three of them, so the time
// the program may be late only grows). A quiet minute takes one step back, towards the
// start. When a step back meets dropouts again before a quiet spell has passed, the machine
// is busy for longer than that: the next step back waits twice as long (up to a quarter of an
// hour), so that a busy machine does not drop out once a minute. A block size the player
// chose stays: only the number of blocks moves then.
//
// Dropouts close together are one stall of the machine: after a change, the dropouts of the
// settling time count towards no further change. Runs on the audio thread: no locks, no
// allocation.

#include <chrono>

namespace orvena {

struct BufferSize {
    unsigned block_frames;
    unsigned blocks;
    bool operator==(const BufferSize&) const = default;
};

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

    // block_fixed: the player chose the block size.
    BlockSizePolicy(unsigned block_frames, bool block_fixed, TimePoint start) noexcept;

    // The device ran dry at `now`.
    void underrun(TimePoint now) noexcept;
    // Called as blocks are asked for: steps back after a quiet spell.
    void tick(TimePoint now) noexcept;
    BufferSize size() const noexcept;

  private:
    int highest_level() const noexcept;
    void move_to(int level, TimePoint now) noexcept;

    unsigned base_block_;
    bool block_fixed_;
    int level_ = 0;
    TimePoint changed_at_;
    TimePoint quiet_since_;
    std::chrono::seconds quiet_time_ = kQuietTime;
    bool stepped_back_ = false;  // the last change was a step back
};

}  // namespace orvena
