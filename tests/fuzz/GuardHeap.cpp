#include "fuzz/GuardHeap.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

extern "C" {
void* __real_malloc(size_t size);
void __real_free(void* block);
void* __real_realloc(void* block, size_t size);
void* __real_calloc(size_t count, size_t size);
}

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kArenaBytes = sizeof(void*) == 8 ? (size_t(1) << 30) : (size_t(384) << 20);
constexpr size_t kArenaPages = kArenaBytes / kPage;
constexpr uint32_t kMagic = 0x47554152u;  // the header of a live block

// Written right in front of each block: an underrun that damages it is
// reported when the block is freed.
struct BlockHeader {
    uint32_t magic;
    uint32_t pages;  // committed pages, the header's included
    size_t size;
};

SRWLOCK g_lock = SRWLOCK_INIT;
bool g_initialised = false;
bool g_protecting = false;
unsigned char* g_arena = nullptr;
size_t g_cursor = 0;  // next page to try: the arena is used round, oldest freed first
size_t g_allocations = 0;
// One bit per arena page: set while the page belongs to a live block or is its guard.
uint32_t g_used[kArenaPages / 32];

bool PageUsed(size_t page) { return (g_used[page / 32] >> (page % 32)) & 1u; }

void MarkPages(size_t first, size_t count, bool used)
{
    for (size_t page = first; page < first + count; ++page) {
        if (used)
            g_used[page / 32] |= 1u << (page % 32);
        else
            g_used[page / 32] &= ~(1u << (page % 32));
    }
}

void Initialise()
{
    if (g_initialised)
        return;
    g_initialised = true;
    char value[8] = {};
    const DWORD length = ::GetEnvironmentVariableA("VENEER_GUARD_HEAP", value, sizeof value);
    if (length > 0 && length < sizeof value && std::strcmp(value, "off") == 0)
        return;
    g_arena = static_cast<unsigned char*>(::VirtualAlloc(nullptr, kArenaBytes, MEM_RESERVE, PAGE_NOACCESS));
    g_protecting = g_arena != nullptr;
}

// A run of `count` free pages, searched from the cursor onwards and round once.
bool FindRun(size_t count, size_t& first)
{
    size_t start = g_cursor;
    size_t run = 0;
    bool wrapped = false;
    for (;;) {
        if (start + count > kArenaPages) {
            if (wrapped)
                return false;
            wrapped = true;
            start = 0;
            run = 0;
        }
        if (wrapped && start > g_cursor)
            return false;
        const size_t page = start + run;
        if (PageUsed(page)) {
            start = page + 1;
            run = 0;
        } else if (++run == count) {
            first = start;
            return true;
        }
    }
}

void* GuardedAllocate(size_t size)
{
    if (size > GuardHeap::kLargestBlock)
        return nullptr;
    const size_t pages = (size + sizeof(BlockHeader) + kPage - 1) / kPage;
    AcquireSRWLockExclusive(&g_lock);
    size_t first = 0;
    if (!FindRun(pages + 1, first)) {
        ReleaseSRWLockExclusive(&g_lock);
        return nullptr;
    }
    unsigned char* region = g_arena + first * kPage;
    if (!::VirtualAlloc(region, pages * kPage, MEM_COMMIT, PAGE_READWRITE)) {
        ReleaseSRWLockExclusive(&g_lock);
        return nullptr;
    }
    MarkPages(first, pages + 1, true);  // the guard page stays reserved, never committed
    g_cursor = first + pages + 1;
    ++g_allocations;
    ReleaseSRWLockExclusive(&g_lock);

    unsigned char* block = region + pages * kPage - size;
    const BlockHeader header { kMagic, static_cast<uint32_t>(pages), size };
    std::memcpy(block - sizeof header, &header, sizeof header);
    return block;
}

[[noreturn]] void HeapMisuse(const char* what, const void* block)
{
    char text[160];
    const int length = std::snprintf(text, sizeof text, "GUARD HEAP: %s at %p\n", what, block);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
    ::RaiseException(GuardHeap::kMisuseException, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    for (;;) {
    }
}

// The header of a block of ours; a damaged one is reported (an underrun or a
// double free).
BlockHeader ReadHeader(const void* block)
{
    BlockHeader header {};
    std::memcpy(&header, static_cast<const unsigned char*>(block) - sizeof header, sizeof header);
    if (header.magic != kMagic || header.pages == 0
        || header.pages != (header.size + sizeof(BlockHeader) + kPage - 1) / kPage)
        HeapMisuse("damaged block header (an underrun, or a free of something not allocated)", block);
    return header;
}

void GuardedFree(void* block)
{
    const BlockHeader header = ReadHeader(block);
    unsigned char* end = static_cast<unsigned char*>(block) + header.size;
    unsigned char* region = end - static_cast<size_t>(header.pages) * kPage;
    ::VirtualFree(region, static_cast<size_t>(header.pages) * kPage, MEM_DECOMMIT);
    AcquireSRWLockExclusive(&g_lock);
    MarkPages(static_cast<size_t>(region - g_arena) / kPage, header.pages + 1u, false);
    ReleaseSRWLockExclusive(&g_lock);
}

bool Protecting()
{
    if (!g_initialised) {
        AcquireSRWLockExclusive(&g_lock);
        Initialise();
        ReleaseSRWLockExclusive(&g_lock);
    }
    return g_protecting;
}

bool Ours(const void* block)
{
    return g_arena && block >= g_arena && block < g_arena + kArenaBytes;
}

}  // namespace

namespace GuardHeap {

bool IsProtecting() { return Protecting(); }

bool InArena(const void* address) { return Ours(address); }

const char* DescribeFault(const void* address)
{
    if (!Ours(address))
        return "access fault outside the guard heap";
    const size_t page = static_cast<size_t>(static_cast<const unsigned char*>(address) - g_arena) / kPage;
    return PageUsed(page) ? "overrun past the end of a live block" : "use after free";
}

size_t AllocationCount() { return g_allocations; }

}  // namespace GuardHeap

extern "C" void* __wrap_malloc(size_t size)
{
    return Protecting() ? GuardedAllocate(size) : __real_malloc(size);
}

extern "C" void __wrap_free(void* block)
{
    if (!block)
        return;
    if (Ours(block))
        GuardedFree(block);
    else
        __real_free(block);
}

extern "C" void* __wrap_calloc(size_t count, size_t size)
{
    if (!Protecting())
        return __real_calloc(count, size);
    if (size != 0 && count > SIZE_MAX / size)
        return nullptr;
    void* block = GuardedAllocate(count * size);
    if (block)
        std::memset(block, 0, count * size);
    return block;
}

extern "C" void* __wrap_realloc(void* block, size_t size)
{
    if (block && !Ours(block))
        return __real_realloc(block, size);
    if (!Protecting())
        return __real_realloc(block, size);
    if (!block)
        return GuardedAllocate(size);
    const BlockHeader header = ReadHeader(block);
    void* grown = GuardedAllocate(size);
    if (!grown)
        return nullptr;
    std::memcpy(grown, block, header.size < size ? header.size : size);
    GuardedFree(block);
    return grown;
}

void* operator new(size_t size)
{
    void* block = __wrap_malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void* operator new[](size_t size)
{
    return operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    return __wrap_malloc(size ? size : 1);
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    return __wrap_malloc(size ? size : 1);
}

void operator delete(void* block) noexcept { __wrap_free(block); }
void operator delete[](void* block) noexcept { __wrap_free(block); }
void operator delete(void* block, size_t) noexcept { __wrap_free(block); }
void operator delete[](void* block, size_t) noexcept { __wrap_free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { __wrap_free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { __wrap_free(block); }
