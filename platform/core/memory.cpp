// Moveable memory blocks: small integer handles, a pointer while locked.
#include "core/core.h"

using namespace sktch::platform;

HGLOBAL GlobalAlloc(UINT, std::size_t bytes) {
    if (bytes > (std::size_t(1) << 31)) return 0;
    MemoryBlock block;
    block.bytes.assign(bytes == 0 ? 1 : bytes, 0);
    return core().blocks.add(std::move(block));
}

LPVOID GlobalLock(HGLOBAL handle) {
    MemoryBlock* block = core().blocks.get(handle);
    if (!block) return nullptr;
    ++block->locks;
    return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL handle) {
    MemoryBlock* block = core().blocks.get(handle);
    if (!block || block->locks == 0) return FALSE;
    return --block->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    return core().blocks.remove(handle) ? 0 : handle;
}

std::size_t GlobalSize(HGLOBAL handle) {
    MemoryBlock* block = core().blocks.get(handle);
    return block ? block->bytes.size() : 0;
}
