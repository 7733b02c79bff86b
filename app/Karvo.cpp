// Program entry: the main window from its layout, then the message loop until it closes.
#include "app/Unit1.h"
#include "lib/kaAccessibility/kaAccessibility.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Application->Initialize();
  kaAccessibility::Enable();
  Application->SetReportObjectsAtExit(true);
  Application->SetMainFormOnTaskBar(true);
  Application->CreateForm(Form1);
  Application->Run();
  return 0;
}
