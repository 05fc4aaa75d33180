#pragma once
// A bounded lock-free queue for one producer thread and one consumer thread. Items are small
// plain values copied in and out; neither side ever waits, locks or allocates (the storage is
// allocated once, in the constructor).

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace orvena {

template <typename T>
class SpscQueue {
    static_assert(std::is_trivially_copyable_v<T>);

  public:
    // Capacity is rounded up to a power of two.
    explicit SpscQueue(std::size_t capacity) {
        std::size_t n = 1;
        while (n < capacity) n <<= 1;
        items_.resize(n);
        mask_ = n - 1;
    }

    std::size_t capacity() const { return items_.size(); }
    // The storage, for keeping it in RAM.
    template <class Region>
    void for_each_region(Region region) const {
        region(items_.data(), items_.size() * sizeof(T));
    }

    // Producer only. False when the queue is full; the item is then not queued.
    bool push(const T& item) {
        const std::uint64_t w = write_.load(std::memory_order_relaxed);
        if (w - read_.load(std::memory_order_acquire) >= items_.size()) return false;
        items_[w & mask_] = item;
        write_.store(w + 1, std::memory_order_release);
        return true;
    }

    // Consumer only. False when the queue is empty.
    bool pop(T& out) {
        const std::uint64_t r = read_.load(std::memory_order_relaxed);
        if (r == write_.load(std::memory_order_acquire)) return false;
        out = items_[r & mask_];
        read_.store(r + 1, std::memory_order_release);
        return true;
    }

  private:
    std::vector<T> items_;
    std::size_t mask_ = 0;
    alignas(64) std::atomic<std::uint64_t> write_{0};
    alignas(64) std::atomic<std::uint64_t> read_{0};
};

}  // namespace orvena
