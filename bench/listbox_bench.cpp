// What the advanced list box costs with long lists: adding 100,000 rows inside an update
// bracket, a page scroll with the paint it makes, a paint alone, a typed search and a filter,
// for 1,000 and 100,000 rows in the same 300 x 400 view (the paint should not grow with the
// rows: the goal is a paint at 100,000 rows at most twice one at 1,000), and the heap a row
// takes. Prints milliseconds and bytes.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "bench/BenchGoals.h"
#include "framework/Forms.h"
#include "framework/Platform.h"
#include "lib/kaAdvancedControls/kaAdvancedControls.h"

// ---- Heap accounting: every allocation of the program is counted ------------------------------

namespace {
std::atomic<long long> gHeapBytes{0};
}  // namespace

void* operator new(std::size_t Size) {
  void* p = ::HeapAlloc(::GetProcessHeap(), 0, Size == 0 ? 1 : Size);
  if (p == nullptr) throw std::bad_alloc();
  gHeapBytes += static_cast<long long>(::HeapSize(::GetProcessHeap(), 0, p));
  return p;
}
void* operator new[](std::size_t Size) { return operator new(Size); }
void operator delete(void* P) noexcept {
  if (P == nullptr) return;
  gHeapBytes -= static_cast<long long>(::HeapSize(::GetProcessHeap(), 0, P));
  ::HeapFree(::GetProcessHeap(), 0, P);
}
void operator delete[](void* P) noexcept { operator delete(P); }
void operator delete(void* P, std::size_t) noexcept { operator delete(P); }
void operator delete[](void* P, std::size_t) noexcept { operator delete(P); }

namespace {

using TClock = std::chrono::steady_clock;

double MsSince(TClock::time_point Start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

// Milliseconds per call: the best of several rounds, so a busy machine disturbs it less.
double TimePerCall(const std::function<void()>& Call, int Repeats) {
  double best = 1e30;
  for (int round = 0; round < 5; ++round) {
    const auto start = TClock::now();
    for (int i = 0; i < Repeats; ++i) Call();
    best = std::min(best, MsSince(start) / Repeats);
  }
  return best;
}

void Pump() {
  MSG msg;
  while (Application->ProcessMessage(msg)) {
  }
}

// Rows with a title and a detail, as a real list would have.
void Fill(TkaAdvancedListBox* L, int Rows, bool Texts) {
  L->BeginUpdateItems();
  for (int i = 0; i < Rows; ++i) {
    TkaAdvancedListItem* item = L->Items()->Add();
    if (!Texts) continue;
    item->SetCaption(L"Item " + std::to_wstring(i));
    item->SetTitle(L"Title");
    item->SetDetail(L"Detail line " + std::to_wstring(i % 97));
  }
  L->EndUpdateItems();
}

TkaAdvancedListBox* NewList(TCustomForm* Form) {
  auto* l = new TkaAdvancedListBox(Form);
  l->SetBounds(10, 10, 300, 400);
  l->SetItemHeight(40);
  l->SetShowItemDetails(true);
  l->SetParent(Form);
  Pump();
  return l;
}

double MeasureList(TCustomForm* Form, int Rows) {
  TkaAdvancedListBox* l = NewList(Form);
  const auto start = TClock::now();
  Fill(l, Rows, true);
  Pump();
  const double add = MsSince(start);
  l->SetItemIndex(Rows / 2);
  const int page = l->ItemsRect().Height();
  int direction = 1;
  const double scroll = TimePerCall(
      [&] {
        int next = l->ScrollOffset() + direction * page;
        if (next > Rows * 40 - 2 * page || next < page) direction = -direction;
        l->Scroll(l->ScrollOffset() + direction * page);
      },
      50);
  const double paint = TimePerCall([&] { l->RePaintControl(); }, 50);
  // Typing a search that only matches near the end: each key walks the rows.
  const String target = L"item " + std::to_wstring(Rows - 3);
  const double typing = TimePerCall(
      [&] {
        l->Perform(WM_TIMER, kaListSearchTimerID, 0);
        for (wchar_t c : target) l->Perform(WM_CHAR, c, 0);
      },
      3) / static_cast<double>(target.size());
  const double filter = TimePerCall(
      [&] {
        l->SetFilter(L"item 1");
        l->SetFilter(L"");
      },
      5) / 2;
  const auto clearStart = TClock::now();
  l->Clear();
  const double clear = MsSince(clearStart);
  std::printf("  %7d rows  add %8.2f  page scroll+paint %6.3f  paint %6.3f  key of search %6.3f  filter %7.2f"
              "  clear %7.2f\n",
              Rows, add, scroll, paint, typing, filter, clear);
  l->Free();
  return paint;
}

void MeasureMemory(TCustomForm* Form) {
  constexpr int kRows = 100000;
  TkaAdvancedListBox* l = NewList(Form);
  const long long before = gHeapBytes.load();
  Fill(l, kRows, false);
  Pump();
  const double bare = double(gHeapBytes.load() - before) / kRows;
  l->Clear();
  Pump();
  const long long beforeTexts = gHeapBytes.load();
  Fill(l, kRows, true);
  Pump();
  const double withTexts = double(gHeapBytes.load() - beforeTexts) / kRows;
  l->Free();
  const double inlineStrings = 3.0 * sizeof(String);
  std::printf("  heap per row, empty texts: %.1f bytes (the item object is %u bytes, of which %u are its three"
              " string objects)\n",
              bare, unsigned(sizeof(TkaAdvancedListItem)), unsigned(3 * sizeof(String)));
  std::printf("  the library's own per row beyond its strings: %.1f bytes\n", bare - inlineStrings);
  std::printf("  heap per row with caption, title and detail: %.1f bytes\n", withTexts);
}

}  // namespace

int main() {
  TCustomForm* form = TCustomForm::CreateNew(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(40, 40, 340, 440);
  form->Show();
  Pump();
  std::printf("TkaAdvancedListBox 300 x 400, rows 40 high with title and detail, ms\n");
  const double paintFew = MeasureList(form, 1000);
  const double paintMany = MeasureList(form, 100000);
  BenchGoals::AtMost("list box paint, 100,000 rows / 1,000 rows", paintMany / paintFew, "x", 2);
  MeasureMemory(form);
  form->Free();
  return 0;
}
