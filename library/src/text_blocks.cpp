// How a text command's memory block fits the command's 32-bit field.
#include <type_traits>

#include "state.h"

namespace sktch {

#ifdef _WIN32

// A handle is a pointer here and does not fit 32 bits. A command carries the number of a
// slot instead (1 upward; 0 is no block). A drawing call holds its block only while it
// renders, so one slot would do; a few more cost nothing.
namespace {
constexpr int kTextBlockSlots = 4;
HGLOBAL text_block_slots[kTextBlockSlots] = {};
}  // namespace

std::int32_t text_block_field(HGLOBAL block) {
    if (!block) return 0;
    for (int i = 0; i < kTextBlockSlots; ++i) {
        if (!text_block_slots[i]) {
            text_block_slots[i] = block;
            return i + 1;
        }
    }
    return 0;  // every slot busy: the command draws no text rather than a wrong block
}

HGLOBAL text_block_from_field(std::int32_t field) {
    if (field < 1 || field > kTextBlockSlots) return nullptr;
    return text_block_slots[field - 1];
}

void release_text_block_field(std::int32_t field) {
    if (field >= 1 && field <= kTextBlockSlots) text_block_slots[field - 1] = nullptr;
}

#else

// Our own handles are small integers, so the field is the handle itself.
static_assert(std::is_integral_v<HGLOBAL> && sizeof(HGLOBAL) <= sizeof(std::int32_t),
              "a memory block's handle must fit a drawing command's 32-bit field");

std::int32_t text_block_field(HGLOBAL block) {
    return std::int32_t(block);
}

HGLOBAL text_block_from_field(std::int32_t field) {
    return HGLOBAL(field);
}

void release_text_block_field(std::int32_t) {}

#endif

}  // namespace sktch
