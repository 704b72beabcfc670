#include "gui_objects.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace qmtest {

namespace {

// Wine keeps each process's GDI handles in the table the PEB names, 24 bytes
// an entry on both architectures: the object (a free-list link once freed),
// the owner, the type with the generation, and the type again, which is 0
// for a free entry.
int CountWineGdiTable() {
  // Asked of the system rather than read through NtCurrentTeb(), whose
  // segment read GCC 12 takes for an access out of bounds (-Warray-bounds).
  PROCESS_BASIC_INFORMATION process{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process, sizeof process, nullptr) != 0)
    return 0;
  const auto* peb = reinterpret_cast<const std::uint8_t*>(process.PebBaseAddress);
  const std::uint8_t* table = *reinterpret_cast<const std::uint8_t* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
  if (!table) return 0;
  MEMORY_BASIC_INFORMATION info{};
  if (!VirtualQuery(table, &info, sizeof info)) return 0;
  const size_t available = static_cast<const std::uint8_t*>(info.BaseAddress) + info.RegionSize - table;
  constexpr size_t entrySize = 24;
  int count = 0;
  for (size_t at = 0; at + entrySize <= available; at += entrySize) {
    if (table[at + 14] != 0) ++count;
  }
  return count;
}

BOOL CALLBACK CountWindow(HWND, LPARAM counted) {
  ++*reinterpret_cast<int*>(counted);
  return TRUE;
}

// A top-level window of this process with all its descendants.
BOOL CALLBACK CountProcessWindows(HWND window, LPARAM counted) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId()) {
    CountWindow(window, counted);
    EnumChildWindows(window, &CountWindow, counted);
  }
  return TRUE;
}

int CountWineUserObjects() {
  int count = 0;
  EnumWindows(&CountProcessWindows, reinterpret_cast<LPARAM>(&count));
  // Wine's USER handles are even numbers from 0x20 on; a handle without its
  // generation in the high word matches whatever lives at that index.
  for (std::uintptr_t h = 0x20; h < 0x10000; h += 2)
    if (IsMenu(reinterpret_cast<HMENU>(h))) ++count;
  return count;
}

}  // namespace

int GdiObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  return counted ? static_cast<int>(counted) : CountWineGdiTable();
}

int UserObjectCount() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  return counted ? static_cast<int>(counted) : CountWineUserObjects();
}

}  // namespace qmtest
