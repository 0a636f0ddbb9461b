// Windows XP has no GetTickCount64, and its loader refuses a program that imports it. Our own
// code does not call it, but the runtime's thread library does (for its timed waits), through
// its import slot. This file defines that slot, so the linker takes it instead of an import
// from kernel32: on Vista and later it hands over to the system's function, on XP it extends
// GetTickCount. It is linked into the program as an object of its own; from a static library
// the linker would not pick it up before the thread library asks for the slot.
#include <windows.h>

#include <atomic>

#include "platform/tick_count.h"

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI ExtendedTickCount() {
  static std::atomic<uint64_t> last{0};
  uint64_t previous = last.load();
  for (;;) {
    const uint64_t next = botenruf::ExtendTickCount(previous, GetTickCount());
    // A failed exchange means another thread handed out a later count: read the tick again.
    if (last.compare_exchange_weak(previous, next))
      return next;
  }
}

TickCount64Function SystemTickCount64() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC found = kernel ? GetProcAddress(kernel, "GetTickCount64") : nullptr;
  return found ? reinterpret_cast<TickCount64Function>(reinterpret_cast<void*>(found))
               : &ExtendedTickCount;
}

ULONGLONG WINAPI TickCount64() {
  // Two threads may look it up at once; both find the same function.
  static std::atomic<TickCount64Function> resolved{nullptr};
  TickCount64Function function = resolved.load();
  if (!function) {
    function = SystemTickCount64();
    resolved.store(function);
  }
  return function();
}

}  // namespace

#if defined(_WIN64)
#define BOTENRUF_TICK64_SLOT "__imp_GetTickCount64"
#else
#define BOTENRUF_TICK64_SLOT "__imp__GetTickCount64@0"
#endif

// The import slot as the thread library names it.
extern "C" {
__attribute__((used))
TickCount64Function tickCount64Slot __asm__(BOTENRUF_TICK64_SLOT) = &TickCount64;
}
