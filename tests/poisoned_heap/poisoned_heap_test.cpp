// The test programs' heap itself: every form of new and delete gets a
// fresh address, and a freed block reads as poison.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <set>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct alignas(64) TWide {
  unsigned char Bytes[64];
};

bool Poisoned(const void* p, size_t n) {
  const volatile unsigned char* b = static_cast<const volatile unsigned char*>(p);
  for (size_t i = 0; i < n; ++i)
    if (b[i] != 0xDD) return false;
  return true;
}

TEST(PoisonedHeap, EveryFormOfNewGivesAFreshAddressAndDeletePoisonsTheBlock) {
  struct TForm {
    const char* Name;
    size_t Size, Alignment;
    std::function<void*()> New;
    std::function<void(void*)> Delete;
  };
  const TForm forms[] = {
      {"plain", 24, 16, [] { return ::operator new(24); }, [](void* p) { ::operator delete(p); }},
      {"sized", 40, 16, [] { return ::operator new(40); }, [](void* p) { ::operator delete(p, 40); }},
      {"array", 7, 16, [] { return ::operator new[](7); }, [](void* p) { ::operator delete[](p); }},
      {"array sized", 9, 16, [] { return ::operator new[](9); }, [](void* p) { ::operator delete[](p, 9); }},
      {"nothrow", 33, 16, [] { return ::operator new(33, std::nothrow); },
       [](void* p) { ::operator delete(p, std::nothrow); }},
      {"aligned", 64, 64, [] { return static_cast<void*>(new TWide); }, [](void* p) { delete static_cast<TWide*>(p); }},
      {"aligned array", 256, 64, [] { return static_cast<void*>(new TWide[4]); },
       [](void* p) { delete[] static_cast<TWide*>(p); }},
      {"aligned nothrow", 100, 256, [] { return ::operator new(100, std::align_val_t{256}, std::nothrow); },
       [](void* p) { ::operator delete(p, std::align_val_t{256}, std::nothrow); }},
      {"empty", 0, 16, [] { return ::operator new(0); }, [](void* p) { ::operator delete(p); }},
  };
  std::set<const void*> seen;
  for (const TForm& f : forms) {
    SCOPED_TRACE(f.Name);
    for (int round = 0; round < 2; ++round) {
      void* p = f.New();
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % f.Alignment, 0u);
      EXPECT_TRUE(seen.insert(p).second) << "an address handed out again";
      std::memset(p, 0x11, f.Size);
      f.Delete(p);
      EXPECT_TRUE(Poisoned(p, f.Size));
    }
  }
}

#ifdef _WIN32
TEST(PoisonedHeap, ALargeBlockLosesItsPagesWhenFreed) {
  const size_t size = size_t{1} << 20;
  auto* block = new unsigned char[size];
  block[size / 2] = 1;
  // Kept as a number the compiler cannot follow: it rightly refuses a pointer
  // used after delete, and asking where it points is all this does.
  const volatile uintptr_t middle = reinterpret_cast<uintptr_t>(block + size / 2);
  delete[] block;
  MEMORY_BASIC_INFORMATION info{};
  ASSERT_NE(VirtualQuery(reinterpret_cast<const void*>(middle), &info, sizeof info), 0u);
  EXPECT_EQ(info.State, static_cast<DWORD>(MEM_RESERVE)) << "a read there must fault";
}
#endif

}  // namespace
