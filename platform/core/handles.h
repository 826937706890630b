// Handles as small checked integers: an index into a slot table and a generation count, so
// that a stale handle (closed, deleted, freed) is recognised instead of touching freed memory.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace sktch::platform {

template <class T>
class HandleTable {
  public:
    // Stores value and returns its handle, never 0.
    std::uint32_t add(T value) {
        std::uint32_t index;
        if (!free_.empty()) {
            index = free_.back();
            free_.pop_back();
        } else {
            index = static_cast<std::uint32_t>(slots_.size());
            slots_.emplace_back();
        }
        Slot& slot = slots_[index];
        slot.value = std::move(value);
        return encode(index, slot.generation);
    }

    T* get(std::uint32_t handle) {
        std::uint32_t index = (handle & kIndexMask) - 1;
        if ((handle & kIndexMask) == 0 || index >= slots_.size()) return nullptr;
        Slot& slot = slots_[index];
        if (!slot.value || slot.generation != (handle >> kIndexBits)) return nullptr;
        return &*slot.value;
    }

    bool remove(std::uint32_t handle) {
        if (!get(handle)) return false;
        std::uint32_t index = (handle & kIndexMask) - 1;
        Slot& slot = slots_[index];
        slot.value.reset();
        slot.generation = (slot.generation + 1) & kGenerationMask;
        free_.push_back(index);
        return true;
    }

    template <class F>
    void for_each(F&& f) {
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i].value)
                f(encode(std::uint32_t(i), slots_[i].generation), *slots_[i].value);
    }

    void clear() {
        slots_.clear();
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
        std::uint32_t generation = 1;
        std::optional<T> value;
    };
    std::vector<Slot> slots_;
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
