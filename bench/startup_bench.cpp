// How long the demo takes to show its main window, and what the window holds afterwards.
//
// With --first-paint the program is the demo: it starts as app/Karvo.cpp does, creates the
// main window from its layout, shows it and lets it paint until no message is left, then
// prints the time from the process's creation (GetProcessTimes) to its entry point, to the
// window created and to the end of the first paint; then the private bytes, GDI objects and
// USER objects (or windows) after start-up and again after every page of the side menu was
// visited. Without the flag it runs itself that way several times and prints the medians,
// and times the layout streaming alone in its own process.
//
// Goal: at most 150 ms from process start to the end of the first paint.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "bench/BenchGoals.h"
#include "framework/Streaming.h"
#include "lib/kaAccessibility/kaAccessibility.h"
#include "lib/kaGPControls/GPGlyphContainerButton.h"
#include "tests/support/Handles.h"

#include <psapi.h>

namespace {

double NowFileTimeMs() {
  FILETIME now;
  ::GetSystemTimePreciseAsFileTime(&now);
  return (double(now.dwHighDateTime) * 4294967296.0 + now.dwLowDateTime) / 1e4;
}

double CreationFileTimeMs() {
  FILETIME creation, exit, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &creation, &exit, &kernel, &user);
  return (double(creation.dwHighDateTime) * 4294967296.0 + creation.dwLowDateTime) / 1e4;
}

void Pump() {
  MSG msg;
  while (Application->ProcessMessage(msg)) {
  }
}

// Committed private memory of the process. Where GetProcessMemoryInfo leaves PrivateUsage
// empty (Wine), the committed private regions of the address space are added up instead.
double PrivateKilobytes() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory) &&
      memory.PrivateUsage != 0)
    return memory.PrivateUsage / 1024.0;
  double bytes = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const char* at = nullptr; ::VirtualQuery(at, &region, sizeof region) == sizeof region;) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += double(region.RegionSize);
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return bytes / 1024.0;
}

// Private bytes, GDI objects, USER objects (-1 where the system does not count them) and the
// thread's windows.
void PrintResources(const char* Phase) {
  ::SetLastError(0);
  int user = static_cast<int>(::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS));
  if (user == 0 && ::GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) user = -1;
  std::printf("MEMORY|%s|%.0f|%d|%d|%d\n", Phase, PrivateKilobytes(), GdiObjectCount(), user, ThreadWindowCount());
}

// A click on a side-menu button and everything it sets off until the window is painted.
void Click(TForm1* Form, TWinControl* Button) {
  const LPARAM at = MAKELPARAM(Button->Width() / 2, Button->Height() / 2);
  ::SendMessageW(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(Button->Handle(), WM_LBUTTONUP, 0, at);
  Pump();
  ::RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// The demo's start, as app/Karvo.cpp makes it, timed; then its resources.
int FirstPaint(double EntryMs) {
  Application->Initialize();
  kaAccessibility::Enable();
  Application->SetReportObjectsAtExit(true);
  Application->SetMainFormOnTaskBar(true);
  Application->CreateForm(Form1);
  const double createdMs = NowFileTimeMs();
  Form1->Show();  // what Application->Run does first
  Pump();
  ::GdiFlush();
  const double paintedMs = NowFileTimeMs();
  const double startMs = CreationFileTimeMs();
  std::printf("STARTUP|%.3f|%.3f|%.3f|%.3f\n", EntryMs - startMs, createdMs - EntryMs, paintedMs - createdMs,
              paintedMs - startMs);
  PrintResources("after start-up");
  for (TWinControl* button : {static_cast<TWinControl*>(Form1->kaGPGlyphContainerButton1),
                              static_cast<TWinControl*>(Form1->kaGPGlyphContainerButton2),
                              static_cast<TWinControl*>(Form1->kaGPGlyphContainerButton3),
                              static_cast<TWinControl*>(Form1->kaGPGlyphContainerButton4)})
    Click(Form1, button);
  Click(Form1, Form1->kaGPGlyphContainerButton2);  // back to the first page
  PrintResources("after visiting every page");
  Form1->Free();
  Form1 = nullptr;
  Pump();
  return 0;
}

// Runs this program with --first-paint and returns what it printed.
std::string RunChild() {
  wchar_t self[MAX_PATH];
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring command = L"\"" + std::wstring(self) + L"\" --first-paint";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return {};
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  start.hStdOutput = start.hStdError = writeEnd;
  start.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  const bool started =
      ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start, &process);
  ::CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(readEnd, chunk, sizeof chunk, &read, nullptr) && read > 0) output.append(chunk, read);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  ::CloseHandle(readEnd);
  return output;
}

// The '|'-separated fields of the first line that begins with Tag.
std::vector<std::string> Fields(const std::string& Output, const std::string& Tag, int Skip = 0) {
  size_t at = 0;
  for (;;) {
    at = Output.find(Tag + "|", at);
    if (at == std::string::npos) return {};
    if (Skip-- == 0) break;
    ++at;
  }
  std::vector<std::string> fields;
  const size_t end = Output.find_first_of("\r\n", at);
  std::string line = Output.substr(at, end == std::string::npos ? std::string::npos : end - at);
  for (size_t from = 0;;) {
    const size_t bar = line.find('|', from);
    fields.push_back(line.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
    if (bar == std::string::npos) return fields;
    from = bar + 1;
  }
}

double Median(std::vector<double> Values) {
  if (Values.empty()) return 0;
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

// Start-up times of Runs fresh processes: the medians of each stage. Returns the last
// process's output, for its resource lines.
std::string PrintStartUps(int Runs) {
  std::vector<double> stages[4];
  std::string last;
  for (int run = 0; run < Runs; ++run) {
    last = RunChild();
    const std::vector<std::string> f = Fields(last, "STARTUP");
    if (f.size() != 5) {
      std::printf("  run %d gave no figures:\n%s\n", run + 1, last.c_str());
      continue;
    }
    for (int i = 0; i < 4; ++i) stages[i].push_back(std::stod(f[i + 1]));
  }
  std::printf("Demo start-up, ms from the process's creation (median of %zu processes)\n", stages[3].size());
  std::printf("  to the entry point (loader, the units' start-up)   %8.1f\n", Median(stages[0]));
  std::printf("  entry to the main window created from its layout   %8.1f\n", Median(stages[1]));
  std::printf("  shown and painted until no message is left         %8.1f\n", Median(stages[2]));
  std::printf("  process start to the end of the first paint        %8.1f\n", Median(stages[3]));
  if (!stages[3].empty()) BenchGoals::AtMost("start-up: process start to first paint", Median(stages[3]), "ms", 150);
  return last;
}

void PrintResourcesOf(const std::string& Output) {
  std::printf("Demo process resources: private KB, GDI objects, USER objects (-1: not counted here), windows\n");
  for (int i = 0; i < 2; ++i) {
    const std::vector<std::string> f = Fields(Output, "MEMORY", i);
    if (f.size() != 6) continue;
    std::printf("  %-28s %8s KB  %5s GDI  %5s USER  %5s windows\n", f[1].c_str(), f[2].c_str(), f[3].c_str(),
                f[4].c_str(), f[5].c_str());
    const std::string row = "demo " + f[1] + ": ";
    BenchGoals::Figure((row + "private bytes").c_str(), std::stod(f[2]) / 1024, "MB");
    BenchGoals::Figure((row + "GDI objects").c_str(), std::stod(f[3]), "objects");
    if (f[4] != "-1") BenchGoals::Figure((row + "USER objects").c_str(), std::stod(f[4]), "objects");
    BenchGoals::Figure((row + "windows").c_str(), std::stod(f[5]), "windows");
  }
}

// Milliseconds per call: the median of 7 rounds after one warm-up call.
double MedianEach(const std::function<void()>& Work, int Repeats) {
  Work();
  std::vector<double> rounds;
  for (int round = 0; round < 7; ++round) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Repeats; ++i) Work();
    const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
    rounds.push_back(spent.count() / Repeats);
  }
  return Median(rounds);
}

// The layout alone: its text parsed into a tree, and the whole main window made from it
// (components constructed, properties set, references resolved, Loaded) and freed again.
void PrintStreaming() {
  std::string text;
  LoadLayoutText(::GetModuleHandleW(nullptr), L"TForm1", text);
  const double parse = MedianEach([&] { ParseLayout(text, L"TFORM1"); }, 20);
  const double create = MedianEach(
      [] {
        Application->CreateForm(Form1);
        Form1->Free();
        Form1 = nullptr;
        Pump();
      },
      3);
  std::printf("Layout streaming of the main window (%zu bytes), ms (median of 7 rounds)\n", text.size());
  std::printf("  parsed into a tree                                  %8.3f\n", parse);
  std::printf("  main window created from it and freed (not shown)   %8.3f\n", create);
  BenchGoals::Figure("start-up: layout parsed", parse, "ms");
  BenchGoals::Figure("start-up: main window created from its layout", create, "ms");
}

}  // namespace

int main(int argc, char** argv) {
  const double entryMs = NowFileTimeMs();
  if (argc > 1 && std::strcmp(argv[1], "--first-paint") == 0) return FirstPaint(entryMs);
  PrintResourcesOf(PrintStartUps(5));
  PrintStreaming();
  return 0;
}
