// The runtime libraries linked into the program call a few kernel32 functions that older
// Windows versions lack, and the loader of such a system refuses a program that imports one:
// - GetTickCount64 (Vista on), which the thread library calls for its timed waits;
// - AddVectoredExceptionHandler and RemoveVectoredExceptionHandler (XP on), with which the
//   thread library hides the exception that names a thread for a debugger.
// Our own code calls none of them. This file defines their import slots itself, so the linker
// takes these instead of imports from kernel32: each slot hands over to the system's function
// where kernel32 has it, and to a fallback where it does not. It is linked into the program as
// an object of its own; from a static library the linker would not pick it up before the
// runtime asks for the slots.
#include <windows.h>

#include <atomic>

#include "platform/tick_count.h"

namespace {

// The system's function of that name, or `fallback` where kernel32 has none. The result is
// kept: two threads may look it up at once, and both find the same function.
template <class Function>
Function Resolve(std::atomic<Function>& cache, const char* name, Function fallback) {
  Function function = cache.load();
  if (!function) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel ? GetProcAddress(kernel, name) : nullptr;
    function = found ? reinterpret_cast<Function>(reinterpret_cast<void*>(found)) : fallback;
    cache.store(function);
  }
  return function;
}

using TickCount64Function = ULONGLONG(WINAPI*)();
using AddHandlerFunction = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
using RemoveHandlerFunction = ULONG(WINAPI*)(PVOID);

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

// Windows 2000 has no vectored handlers: registering one fails, as the system's function
// reports a failure, and the thread library then simply has none. The program names no
// threads, so the exception it would hide is never raised.
PVOID WINAPI NoHandlerAdded(ULONG, PVECTORED_EXCEPTION_HANDLER) {
  return nullptr;
}
ULONG WINAPI NoHandlerRemoved(PVOID) {
  return 0;
}

ULONGLONG WINAPI TickCount64() {
  static std::atomic<TickCount64Function> cache{nullptr};
  return Resolve(cache, "GetTickCount64", &ExtendedTickCount)();
}

PVOID WINAPI AddVectoredHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
  static std::atomic<AddHandlerFunction> cache{nullptr};
  return Resolve(cache, "AddVectoredExceptionHandler", &NoHandlerAdded)(first, handler);
}

ULONG WINAPI RemoveVectoredHandler(PVOID handle) {
  static std::atomic<RemoveHandlerFunction> cache{nullptr};
  return Resolve(cache, "RemoveVectoredExceptionHandler", &NoHandlerRemoved)(handle);
}

}  // namespace

// The import slots as the runtime libraries name them.
#if defined(_WIN64)
#define BOTENRUF_IMPORT_SLOT(name, argumentBytes) "__imp_" #name
#else
#define BOTENRUF_IMPORT_SLOT(name, argumentBytes) "__imp__" #name "@" #argumentBytes
#endif

extern "C" {
__attribute__((used))
TickCount64Function tickCount64Slot __asm__(BOTENRUF_IMPORT_SLOT(GetTickCount64, 0)) = &TickCount64;
__attribute__((used))
AddHandlerFunction addVectoredHandlerSlot __asm__(BOTENRUF_IMPORT_SLOT(AddVectoredExceptionHandler,
                                                                       8)) = &AddVectoredHandler;
__attribute__((used)) RemoveHandlerFunction removeVectoredHandlerSlot __asm__(
    BOTENRUF_IMPORT_SLOT(RemoveVectoredExceptionHandler, 4)) = &RemoveVectoredHandler;
}
