// The controls gallery's entry: the gallery window from its layout, then the message loop
// until it closes.
#include "app/gallery/GalleryForm.h"
#include "lib/kaAccessibility/kaAccessibility.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Application->Initialize();
  kaAccessibility::Enable();
  Application->SetReportObjectsAtExit(true);
  Application->SetMainFormOnTaskBar(true);
  Application->CreateForm(GalleryForm);
  Application->Run();
  return 0;
}
