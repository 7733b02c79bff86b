#include "tests/app/FreedMemoryPoison.h"

#include <malloc.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

std::atomic<int> gScopes{0};
SRWLOCK gLock = SRWLOCK_INIT;
// Enough freed blocks held back that a tick arriving a few hundred milliseconds after a
// control was freed still finds its memory poisoned.
constexpr int kHeld = 16384;
void* gHeld[kHeld];
int gNext = 0;
long gPoisoned = 0;

void* Allocate(std::size_t Size) {
  void* p = std::malloc(Size != 0 ? Size : 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

void Release(void* P) {
  if (P == nullptr) return;
  if (gScopes.load() == 0) {
    std::free(P);
    return;
  }
  ::AcquireSRWLockExclusive(&gLock);
  std::memset(P, 0xFE, _msize(P));
  void* oldest = gHeld[gNext];
  gHeld[gNext] = P;
  gNext = (gNext + 1) % kHeld;
  ++gPoisoned;
  ::ReleaseSRWLockExclusive(&gLock);
  std::free(oldest);
}

}  // namespace

TFreedMemoryPoison::TFreedMemoryPoison() { ++gScopes; }

TFreedMemoryPoison::~TFreedMemoryPoison() {
  if (--gScopes != 0) return;
  ::AcquireSRWLockExclusive(&gLock);
  for (void*& p : gHeld) {
    std::free(p);
    p = nullptr;
  }
  gNext = 0;
  ::ReleaseSRWLockExclusive(&gLock);
}

long TFreedMemoryPoison::Poisoned() { return gPoisoned; }

void* operator new(std::size_t Size) { return Allocate(Size); }
void* operator new[](std::size_t Size) { return Allocate(Size); }
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept { return std::malloc(Size != 0 ? Size : 1); }
void* operator new[](std::size_t Size, const std::nothrow_t&) noexcept { return std::malloc(Size != 0 ? Size : 1); }
void operator delete(void* P) noexcept { Release(P); }
void operator delete[](void* P) noexcept { Release(P); }
void operator delete(void* P, std::size_t) noexcept { Release(P); }
void operator delete[](void* P, std::size_t) noexcept { Release(P); }
void operator delete(void* P, const std::nothrow_t&) noexcept { Release(P); }
void operator delete[](void* P, const std::nothrow_t&) noexcept { Release(P); }
