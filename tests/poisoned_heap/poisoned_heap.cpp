// The test programs' heap: it never hands an address out twice. A block
// that is freed is filled with 0xDD and kept, and the pages lying wholly
// inside it are taken away altogether, so that a read through a dangling
// pointer finds poison (or faults) instead of the value that used to be
// there, or a newer object that happens to have been put in the same place.
// A pointer 0xDDDD... read out of a freed object faults when it is followed;
// freeing a block twice, or one the heap never gave out, or with another
// size than it was made with, stops the program with a message.
//
// It replaces every form of C++ operator new and delete: plain, array,
// nothrow, sized and over-aligned. It does not cover malloc, calloc,
// realloc and free or anything that allocates through them (the C
// library's strings and streams), the system's heaps (HeapAlloc,
// LocalAlloc, GlobalAlloc, COM's task allocator, GDI and USER objects and
// whatever Wine keeps for them), nor a stale pointer into a block that is
// still alive (an iterator into a vector that reallocated is caught; one
// into a static array is not). Fresh blocks are not filled.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace {

constexpr unsigned char kPoison = 0xDD;
constexpr uint32_t kLive = 0x4C495645;   // "LIVE"
constexpr uint32_t kFreed = 0x44454144;  // "DEAD"
constexpr size_t kHeader = 16;           // keeps every block 16-aligned
// Address space is taken a chunk at a time; a 32-bit program has little.
constexpr size_t kChunk = sizeof(void*) == 8 ? size_t{256} << 20 : size_t{16} << 20;
constexpr size_t kCommitStep = size_t{1} << 20;

// Lies just before every block.
struct alignas(16) THeader {
  size_t Size;
  uint32_t State;
};
static_assert(sizeof(THeader) == kHeader);

// --- address space, from the system directly (never through malloc)

size_t PageSize() {
#ifdef _WIN32
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
#else
  return static_cast<size_t>(sysconf(_SC_PAGESIZE));
#endif
}

char* Reserve(size_t Size) {
#ifdef _WIN32
  return static_cast<char*>(VirtualAlloc(nullptr, Size, MEM_RESERVE, PAGE_NOACCESS));
#else
  void* p = mmap(nullptr, Size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  return p == MAP_FAILED ? nullptr : static_cast<char*>(p);
#endif
}

bool Commit(char* At, size_t Size) {
#ifdef _WIN32
  return VirtualAlloc(At, Size, MEM_COMMIT, PAGE_READWRITE) != nullptr;
#else
  return mprotect(At, Size, PROT_READ | PROT_WRITE) == 0;
#endif
}

// The pages go back to the system but stay reserved: nothing else is ever
// placed there, and touching them faults.
void Decommit(char* At, size_t Size) {
#ifdef _WIN32
  VirtualFree(At, Size, MEM_DECOMMIT);
#else
  mmap(At, Size, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED | MAP_NORESERVE, -1, 0);
#endif
}

[[noreturn]] void Fail(const char* What, const void* Block) {
  char text[160];
  std::snprintf(text, sizeof text, "poisoned heap: %s (block %p)\n", What, Block);
#ifdef _WIN32
  OutputDebugStringA(text);
#endif
  std::fputs(text, stderr);
  std::fflush(stderr);
  std::abort();
}

// --- the heap: blocks are cut from chunks one after the other and never
// handed out again.

class TPoisonedHeap {
 public:
  void* Allocate(size_t Size, size_t Alignment) {
    if (Alignment < kHeader) Alignment = kHeader;
    if (Size > SIZE_MAX / 2) return nullptr;  // no room for it, nor for its header
    TLock lock(FLock);
    if (!FPage) FPage = PageSize();
    const size_t need = Size + kHeader + Alignment;
    if (!FNext || static_cast<size_t>(FEnd - FNext) < need) {
      const size_t chunk = need > kChunk ? RoundUp(need, FPage) : kChunk;
      char* base = Reserve(chunk);
      if (!base) return nullptr;
      FNext = FCommitted = base;
      FEnd = base + chunk;
    }
    char* start = FNext;
    char* block = reinterpret_cast<char*>(RoundUp(reinterpret_cast<uintptr_t>(start + kHeader), Alignment));
    char* end = block + (Size ? Size : 1);
    if (end > FCommitted) {
      char* upTo = reinterpret_cast<char*>(RoundUp(reinterpret_cast<uintptr_t>(end), kCommitStep));
      if (upTo > FEnd) upTo = FEnd;
      if (!Commit(FCommitted, static_cast<size_t>(upTo - FCommitted))) return nullptr;
      FCommitted = upTo;
    }
    FNext = reinterpret_cast<char*>(RoundUp(reinterpret_cast<uintptr_t>(end), kHeader));
    THeader* h = reinterpret_cast<THeader*>(block) - 1;
    h->Size = Size;
    h->State = kLive;
    return block;
  }

  void Free(void* Block, size_t Size, bool Sized) {
    if (!Block) return;
    THeader* h = static_cast<THeader*>(Block) - 1;
    TLock lock(FLock);
    if (h->State == kFreed) Fail("a block freed twice", Block);
    if (h->State != kLive) Fail("a block this heap never gave out is freed", Block);
    if (Sized && Size != h->Size) Fail("a block freed with another size than it was made with", Block);
    h->State = kFreed;
    char* begin = static_cast<char*>(Block);
    std::memset(begin, kPoison, h->Size);
    // Whole pages inside the block: give them back; a read there faults.
    char* first = reinterpret_cast<char*>(RoundUp(reinterpret_cast<uintptr_t>(begin), FPage));
    char* last = reinterpret_cast<char*>(RoundDown(reinterpret_cast<uintptr_t>(begin + h->Size), FPage));
    if (last > first) Decommit(first, static_cast<size_t>(last - first));
  }

 private:
  static uintptr_t RoundUp(uintptr_t v, size_t to) { return (v + to - 1) / to * to; }
  static uintptr_t RoundDown(uintptr_t v, size_t to) { return v / to * to; }

  // A spin lock: it needs no initialising, so the heap works from the very
  // first allocation of the program, before any constructor has run.
  class TLock {
   public:
    explicit TLock(std::atomic_flag& Flag) : FFlag(Flag) {
      while (FFlag.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
    }
    ~TLock() { FFlag.clear(std::memory_order_release); }

   private:
    std::atomic_flag& FFlag;
  };

  std::atomic_flag FLock = ATOMIC_FLAG_INIT;
  size_t FPage = 0;
  char* FNext = nullptr;
  char* FCommitted = nullptr;
  char* FEnd = nullptr;
};

// Constant-initialised: usable before any static constructor runs.
constinit TPoisonedHeap Heap;

void* AllocateOrThrow(size_t Size, size_t Alignment) {
  for (;;) {
    if (void* p = Heap.Allocate(Size, Alignment)) return p;
    std::new_handler handler = std::get_new_handler();
    if (!handler) throw std::bad_alloc();
    handler();
  }
}

void* AllocateOrNull(size_t Size, size_t Alignment) noexcept {
  try {
    return AllocateOrThrow(Size, Alignment);
  } catch (...) {
    return nullptr;
  }
}

size_t Align(std::align_val_t a) { return static_cast<size_t>(a); }

}  // namespace

void* operator new(size_t n) { return AllocateOrThrow(n, kHeader); }
void* operator new[](size_t n) { return AllocateOrThrow(n, kHeader); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return AllocateOrNull(n, kHeader); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return AllocateOrNull(n, kHeader); }
void* operator new(size_t n, std::align_val_t a) { return AllocateOrThrow(n, Align(a)); }
void* operator new[](size_t n, std::align_val_t a) { return AllocateOrThrow(n, Align(a)); }
void* operator new(size_t n, std::align_val_t a, const std::nothrow_t&) noexcept { return AllocateOrNull(n, Align(a)); }
void* operator new[](size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return AllocateOrNull(n, Align(a));
}

void operator delete(void* p) noexcept { Heap.Free(p, 0, false); }
void operator delete[](void* p) noexcept { Heap.Free(p, 0, false); }
void operator delete(void* p, size_t n) noexcept { Heap.Free(p, n, true); }
void operator delete[](void* p, size_t n) noexcept { Heap.Free(p, n, true); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Heap.Free(p, 0, false); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Heap.Free(p, 0, false); }
void operator delete(void* p, std::align_val_t) noexcept { Heap.Free(p, 0, false); }
void operator delete[](void* p, std::align_val_t) noexcept { Heap.Free(p, 0, false); }
void operator delete(void* p, size_t n, std::align_val_t) noexcept { Heap.Free(p, n, true); }
void operator delete[](void* p, size_t n, std::align_val_t) noexcept { Heap.Free(p, n, true); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Heap.Free(p, 0, false); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Heap.Free(p, 0, false); }
