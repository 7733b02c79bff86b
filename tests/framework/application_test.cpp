// The application object: forms made from their layouts with the global pointer in place,
// the message loop with OnMessage, the main form ending the program, exceptions stopped at
// the window procedure, and the count of objects alive.
#include <gtest/gtest.h>

#include "framework/Timers.h"
#include "framework/TypeInfo.h"
#include "tests/support/TestControls.h"

class TAppTestForm;
TAppTestForm* gAppTestForm = nullptr;

class TAppTestForm : public TForm {
  KA_CLASS(TAppTestForm, TForm)
 public:
  using TForm::TForm;
  TTestPanel* Inner = nullptr;
  bool GlobalSetInCreate = false;
  bool InnerLoadedInCreate = false;
  int Creates = 0;
  void FormCreate(TObject*) {
    ++Creates;
    GlobalSetInCreate = gAppTestForm == this;
    InnerLoadedInCreate = Inner != nullptr && !Inner->ComponentState().Contains(csLoading);
  }
};

KA_REGISTER_CLASS(TTestPanel);
KA_REGISTER_CLASS(TAppTestForm, [](auto& c) {
  c.Handler(L"FormCreate", &TAppTestForm::FormCreate);
  c.Field(L"Inner", &TAppTestForm::Inner);
});

namespace {

TEST(Application, CreateFormReadsTheLayoutAndRunsUntilTheMainFormCloses) {
  Application->CreateForm(gAppTestForm);
  TAppTestForm* form = gAppTestForm;
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Application->MainForm(), form);
  EXPECT_EQ(form->Owner(), Application);
  EXPECT_EQ(form->Caption(), L"Application test");
  EXPECT_EQ(form->Creates, 1);
  EXPECT_TRUE(form->GlobalSetInCreate) << "handlers reach the form through its global pointer";
  EXPECT_TRUE(form->InnerLoadedInCreate) << "OnCreate runs after every component's Loaded";
  ASSERT_NE(form->Inner, nullptr);
  EXPECT_EQ(form->Inner->Parent(), form);

  // A message filter sees posted messages first and may swallow them.
  int seen = 0, swallowedReached = 0;
  TWndMethod saved = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_APP + 3) ++swallowedReached;
    saved(m);
  };
  Application->OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message == WM_APP + 3) {
      ++seen;
      handled = true;
    }
  };
  auto* closer = new TTimer(nullptr);
  closer->SetInterval(20);
  closer->OnTimer = [&](TObject*) {
    closer->SetEnabled(false);
    ::PostMessageW(form->WindowHandle(), WM_APP + 3, 0, 0);
    form->Close();
  };
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(swallowedReached, 0);
  EXPECT_TRUE(form->HandleAllocated());
  Application->OnMessage = nullptr;
  form->WindowProc = saved;
  closer->Free();
  form->Free();
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(Application, ExceptionsInHandlersStopAtTheWindowProcedure) {
  auto* form = TCustomForm::CreateNew(nullptr);
  form->HandleNeeded();
  TWndMethod saved = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_APP + 4) throw EInvalidOperation(L"handler failed");
    saved(m);
  };
  int before = Application->ExceptionCount();
  String reported;
  Application->OnException = [&](TObject*, const std::exception& e) { reported = FromUtf8(e.what()); };
  ::SendMessageW(form->WindowHandle(), WM_APP + 4, 0, 0);
  EXPECT_EQ(Application->ExceptionCount(), before + 1);
  EXPECT_EQ(reported, L"handler failed");
  Application->OnException = nullptr;
  form->WindowProc = saved;
  form->Free();
}

TEST(Application, ReportCountsTheObjectsAlive) {
  int alive = TObject::AliveCount();
  auto* extra = new TComponent(nullptr);
  EXPECT_EQ(TApplication::ReportAliveObjects(), alive + 1);
  extra->Free();
  EXPECT_EQ(TApplication::ReportAliveObjects(), alive);
}

}  // namespace
