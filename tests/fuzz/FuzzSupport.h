// The mutation loops' shared machinery: seeded inputs that can be replayed one by one, the
// program flags that lengthen a run, a watchdog against hangs, a bound on memory, and the
// line of figures each format prints.
//
// Flags (read from the command line beside GoogleTest's own):
//   --fuzz-iterations=N   inputs per format (the normal run uses each format's own few)
//   --fuzz-seed=S         the seed (each format has a fixed one by default)
//   --fuzz-input=I        only input I of the run, to replay a failure
//   --fuzz-verbose=1      print why each refused input was refused
//   --fuzz-dump=1         write each input to fuzz_input.bin (with --fuzz-input, the one)
#pragma once

#include <gtest/gtest.h>
#include <psapi.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "framework/Platform.h"

namespace fuzz {

// splitmix64: every input gets a generator of its own from (seed, index), so input I is
// reproduced without running the inputs before it.
class TRng {
 public:
  explicit TRng(uint64_t Seed) : FState(Seed) {}
  uint64_t Next64() {
    uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Next() { return static_cast<uint32_t>(Next64() >> 32); }
  // 0 .. N-1 (0 when N is 0).
  size_t Below(size_t N) { return N == 0 ? 0 : static_cast<size_t>(Next64() % N); }
  bool OneIn(uint32_t N) { return Below(N) == 0; }
  template <class T, size_t N>
  const T& Pick(const T (&Values)[N]) { return Values[Below(N)]; }

 private:
  uint64_t FState;
};

// The value of a --fuzz-NAME=N flag, or Fallback.
inline long long Flag(const wchar_t* Name, long long Fallback) {
  std::wstring key = std::wstring(L"--fuzz-") + Name + L"=";
  std::wstring line = ::GetCommandLineW();
  size_t at = line.find(key);
  if (at == std::wstring::npos) return Fallback;
  return std::wcstoll(line.c_str() + at + key.size(), nullptr, 10);
}

inline bool Verbose() {
  static const bool verbose = Flag(L"verbose", 0) != 0;
  return verbose;
}

// Notes a refusal's reason when asked to.
inline void NoteRefusal(const String& Why) {
  if (Verbose()) std::printf("  refused: %s\n", ToUtf8(Why).c_str());
}

// Writes an input for a person to look at, when asked to.
inline void Dump(const std::string& Bytes) {
  static const bool dump = Flag(L"dump", 0) != 0;
  if (!dump) return;
  if (FILE* f = std::fopen("fuzz_input.bin", "wb")) {
    std::fwrite(Bytes.data(), 1, Bytes.size(), f);
    std::fclose(f);
  }
}

// Private bytes now and at their peak.
inline size_t PeakPrivateBytes() {
  PROCESS_MEMORY_COUNTERS c{};
  c.cb = sizeof(c);
  return ::GetProcessMemoryInfo(::GetCurrentProcess(), &c, sizeof(c)) ? c.PeakPagefileUsage : 0;
}

// One input must not take this long: the watchdog ends the program naming it, since a hang
// would otherwise only show as the test runner's time-out with nothing to replay.
constexpr DWORD kInputTimeLimitMs = 30000;
// A mutated input of a few kilobytes must not make the process grow past this.
constexpr size_t kMemoryLimit = size_t(700) << 20;

struct TWatch {
  std::atomic<long> Tick{0};
  char Current[160] = "";
};

inline TWatch& Watch();

inline DWORD WINAPI WatchThread(void*) {
  long last = -1;
  DWORD since = ::GetTickCount();
  for (;;) {
    ::Sleep(500);
    long now = Watch().Tick.load();
    if (now != last) {
      last = now;
      since = ::GetTickCount();
    } else if (now % 2 == 1 && ::GetTickCount() - since > kInputTimeLimitMs) {
      std::fprintf(stderr, "\nFUZZ HANG: %s did not finish in %lu ms\n", Watch().Current,
                   static_cast<unsigned long>(kInputTimeLimitMs));
      std::fflush(stderr);
      ::TerminateProcess(::GetCurrentProcess(), 3);
    }
  }
}

// A crash names the input that caused it before the process ends.
inline LONG WINAPI OnCrash(EXCEPTION_POINTERS* E) {
  std::fprintf(stderr, "\nFUZZ CRASH: exception %08lx at %p in %s\n",
               static_cast<unsigned long>(E->ExceptionRecord->ExceptionCode), E->ExceptionRecord->ExceptionAddress,
               Watch().Current);
  void* frames[48];
  USHORT n = ::RtlCaptureStackBackTrace(0, 48, frames, nullptr);
  std::fprintf(stderr, "stack:");
  for (USHORT i = 0; i < n; ++i) std::fprintf(stderr, " %p", frames[i]);
  std::fprintf(stderr, "\n");
  std::fflush(stderr);
  // Ended here: a debugger started on the fault would keep an unattended run waiting.
  ::TerminateProcess(::GetCurrentProcess(), 4);
  return EXCEPTION_CONTINUE_SEARCH;
}

inline TWatch& Watch() {
  static TWatch w;
  static HANDLE thread = [] {
    ::SetUnhandledExceptionFilter(OnCrash);
    return ::CreateThread(nullptr, 0, WatchThread, nullptr, 0, nullptr);
  }();
  (void)thread;
  return w;
}

enum class TVerdict { Accepted, Refused };

struct TTally {
  int Tried = 0, Accepted = 0, Refused = 0;
};

// Runs the format's inputs: Input(Rng, Index) builds, tries and checks one, reporting faults
// through GoogleTest, and says whether the input was accepted or refused. The loop stops at
// the first input with a fault and names it for replay.
template <class F>
TTally Run(const char* Format, uint64_t DefaultSeed, int DefaultCount, F&& Input) {
  const uint64_t seed = static_cast<uint64_t>(Flag(L"seed", static_cast<long long>(DefaultSeed)));
  const int count = static_cast<int>(Flag(L"iterations", DefaultCount));
  const long long only = Flag(L"input", -1);
  TWatch& watch = Watch();
  TTally t;
  DWORD start = ::GetTickCount();
  for (int i = only >= 0 ? static_cast<int>(only) : 0; i < (only >= 0 ? static_cast<int>(only) + 1 : count); ++i) {
    std::snprintf(watch.Current, sizeof(watch.Current), "%s input %d (--fuzz-seed=%llu --fuzz-input=%d)", Format, i,
                  static_cast<unsigned long long>(seed), i);
    SCOPED_TRACE(watch.Current);
    TRng rng(seed * 0x2545F4914F6CDD1Dull + static_cast<uint64_t>(i));
    ++watch.Tick;  // odd: an input is running
    TVerdict v = Input(rng, i);
    ++watch.Tick;
    ++t.Tried;
    (v == TVerdict::Accepted ? t.Accepted : t.Refused)++;
    if (PeakPrivateBytes() > kMemoryLimit)
      ADD_FAILURE() << "the process grew to " << (PeakPrivateBytes() >> 20) << " MB";
    if (::testing::Test::HasFailure()) {
      std::printf("fuzz %s: fault at input %d, replay with --fuzz-seed=%llu --fuzz-input=%d\n", Format, i,
                  static_cast<unsigned long long>(seed), i);
      break;
    }
  }
  std::printf("fuzz %-16s seed %llu: %d tried, %d accepted, %d refused, %.1f s, peak %u MB\n", Format,
              static_cast<unsigned long long>(seed), t.Tried, t.Accepted, t.Refused,
              (::GetTickCount() - start) / 1000.0, static_cast<unsigned>(PeakPrivateBytes() >> 20));
  std::fflush(stdout);
  return t;
}

}  // namespace fuzz
