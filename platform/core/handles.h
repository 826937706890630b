// Handles as small checked integers: an index into a slot table and a generation count, so
// that a stale handle (closed, deleted, freed) is recognised instead of touching freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace sktch::platform {

// Frees what a removed value owns, leaving it owning nothing. A type can supply its own
// release(), found by argument-dependent look-up, when a cheaper reset does the job.
template <class T>
void release(T& value) {
    std::destroy_at(&value);
    std::construct_at(&value);
}

template <class T>
class HandleTable {
  public:
    // Stores a value made from args, in place, and returns its handle, never 0.
    template <class... Args>
    std::uint32_t add(Args&&... args) {
        std::uint32_t index = free_;
        if (index != kNone) [[likely]] {
            free_ = slots_[index].next_free;
        } else {
            index = grow();
        }
        Slot& slot = slots_[index];
        // Built where it stays: a temporary moved in would stall on every pen made. A free
        // slot's value owns nothing (it is new, or release() saw to it), so it is built over
        // without being destroyed first.
        std::construct_at(&slot.value, std::forward<Args>(args)...);
        slot.handle = encode(index, slot.generation);
        return slot.handle;
    }

    // One comparison decides: a live slot keeps the whole handle it was given out under.
    T* get(std::uint32_t handle) {
        std::uint32_t index = (handle & kIndexMask) - 1;  // handle 0 wraps to past the end
        if (index >= count_) return nullptr;
        Slot& slot = slots_[index];
        return slot.handle == handle ? &slot.value : nullptr;
    }

    // The value of a handle known to be live, without the check: for handles the platform
    // keeps itself, like the objects a device context has selected.
    T& live(std::uint32_t handle) { return slots_[(handle & kIndexMask) - 1].value; }

    bool remove(std::uint32_t handle) {
        if (!get(handle)) return false;
        erase(handle);
        return true;
    }

    // remove() for a handle just found live by get().
    void erase(std::uint32_t handle) {
        const std::uint32_t index = (handle & kIndexMask) - 1;
        Slot& slot = slots_[index];
        slot.handle = 0;
        release(slot.value);
        slot.generation = (slot.generation + 1) & kGenerationMask;
        if (slot.generation == 0) slot.generation = 1;
        slot.next_free = free_;
        free_ = index;
    }

    template <class F>
    void for_each(F&& f) {
        for (Slot& slot : slots_)
            if (slot.handle != 0) f(slot.handle, slot.value);
    }

    void clear() {
        slots_.clear();
        count_ = 0;
        free_ = kNone;
    }

  private:
    // A new slot at the end, for when none is free: kept out of the adds that reuse one.
    [[gnu::noinline]] std::uint32_t grow() {
        slots_.emplace_back();
        return count_++;
    }

    // 20 bits of index, 11 of generation: a handle stays a positive 32-bit integer.
    static constexpr std::uint32_t kIndexBits = 20;
    static constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
    static constexpr std::uint32_t kGenerationMask = (1u << 11) - 1;
    static constexpr std::uint32_t kNone = ~0u;

    static std::uint32_t encode(std::uint32_t index, std::uint32_t generation) {
        return (generation << kIndexBits) | (index + 1);
    }

    struct Slot {
        std::uint32_t handle = 0;  // the live handle, 0 while the slot is free
        std::uint32_t generation = 1;
        std::uint32_t next_free = kNone;  // while free: the slot freed before it
        T value{};
    };
    std::vector<Slot> slots_;
    std::uint32_t count_ = 0;     // slots_.size(), kept apart: look-ups compare with it
    std::uint32_t free_ = kNone;  // the last slot freed, reused first
};

// Handle types of the Win32 interface are opaque pointers; their value is the table handle.
template <class H>
inline std::uint32_t handle_id(H handle) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}
template <class H>
inline H make_handle(std::uint32_t id) {
    return reinterpret_cast<H>(static_cast<std::uintptr_t>(id));
}

}  // namespace sktch::platform
