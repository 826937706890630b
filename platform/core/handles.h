// Handles as small checked integers: an index into a slot table and a generation count, so
// that a stale handle (closed, deleted, freed) is recognised instead of touching freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace sktch::platform {

template <class T>
class HandleTable {
  public:
    // Stores a value made from args, in place, and returns its handle, never 0.
    template <class... Args>
    std::uint32_t add(Args&&... args) {
        std::uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            index = count_++;
            slots_.emplace_back();
        }
        Slot& slot = slots_[index];
        // Built where it stays: a temporary moved in would stall on every pen made.
        std::destroy_at(&slot.value);
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

    bool remove(std::uint32_t handle) {
        if (!get(handle)) return false;
        Slot& slot = slots_[(handle & kIndexMask) - 1];
        slot.handle = 0;
        std::destroy_at(&slot.value);
        std::construct_at(&slot.value);
        slot.generation = (slot.generation + 1) & kGenerationMask;
        if (slot.generation == 0) slot.generation = 1;
        free_.push_back((handle & kIndexMask) - 1);
        return true;
    }

    template <class F>
    void for_each(F&& f) {
        for (Slot& slot : slots_)
            if (slot.handle != 0) f(slot.handle, slot.value);
    }

    void clear() {
        slots_.clear();
        count_ = 0;
        free_.clear();
    }

  private:
    // 20 bits of index, 11 of generation: a handle stays a positive 32-bit integer.
    static constexpr std::uint32_t kIndexBits = 20;
    static constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
    static constexpr std::uint32_t kGenerationMask = (1u << 11) - 1;

    static std::uint32_t encode(std::uint32_t index, std::uint32_t generation) {
        return (generation << kIndexBits) | (index + 1);
    }

    struct Slot {
        std::uint32_t handle = 0;  // the live handle, 0 while the slot is free
        std::uint32_t generation = 1;
        T value{};
    };
    std::vector<Slot> slots_;
    std::uint32_t count_ = 0;  // slots_.size(), kept apart: look-ups compare with it
    std::vector<std::uint32_t> free_;
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
