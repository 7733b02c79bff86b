// Renders the library's reference sheets to PNG files, for people to look at: every vector
// glyph at three sizes in normal and hot colours, the 25 placements of a picture, drawing
// by margins (nine parts, three parts, stretched and tiled), and glow text.
//
// The sheets of controls (toggle switch, button, check box, list box, combo box) are drawn
// once per style: under the system style as <name>.png, under each custom style named on the
// command line as <name>-<last word of the style, lower case>.png ("Karvo Dark" gives
// button-dark.png).
//
//   ka_refsheets [output folder] [style ...]
//     output folder: default the current folder (a Windows path)
//     styles: default "Karvo Dark" "Karvo Light"; "Windows" alone draws only the system style
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/PngImage.h"
#include "framework/TypeInfo.h"
#include "lib/kaDrawUtils/BitmapOptions.h"
#include "lib/kaDrawUtils/TextDrawing.h"
#include "lib/kaGPImages/kaGPImages.h"
#include "lib/kaGPUtils/kaGPUtils.h"
#include "tools/RefSheetButton.h"
#include "tools/RefSheetCheckBox.h"
#include "tools/RefSheetComboBox.h"
#include "tools/RefSheetHint.h"
#include "tools/RefSheetListBox.h"
#include "tools/RefSheetKit.h"
#include "tools/RefSheetPictures.h"
#include "tools/RefSheetSwitch.h"

namespace {

const TColor kHotFace = static_cast<TColor>(0xD77800);

// A white sheet of the given size with a title line, handed to Paint, then saved as PNG.
void RenderSheet(const String& Path, int Width, int Height, const String& Title,
                 const std::function<void(TCanvas*)>& Paint) {
  TBitmap Sheet;
  Sheet.SetPixelFormat(pf32bit);
  Sheet.SetSize(Width, Height);
  TCanvas* C = Sheet.Canvas();
  C->Brush()->SetColor(SheetPaper());
  C->FillRect(TRect(0, 0, Width, Height));
  C->Font()->SetName(L"Tahoma");
  C->Font()->SetHeight(-15);
  SheetLabel(C, 10, 8, Title);
  C->Font()->SetHeight(-11);
  Paint(C);
  TPngImage Png;
  Png.Assign(&Sheet);
  Png.SaveToFile(Path);
  std::wprintf(L"wrote %ls (%d x %d)\n", Path.c_str(), Width, Height);
}

// ---- Glyphs --------------------------------------------------------------------------------

void PaintGlyphs(TCanvas* C) {
  const int Columns = 6, CellW = 230, CellH = 78, Top = 34;
  const int Sizes[] = {16, 24, 48};
  const TEnumInfo& Kinds = EnumInfoOf<TkaGPButtonGlyphKind>();
  for (int K = 0; K <= kagpbgkRestoreRect; ++K) {
    const int X0 = 10 + (K % Columns) * CellW, Y0 = Top + (K / Columns) * CellH;
    String Name = Kinds.NameOf(K);
    if (Name.rfind(L"kagpbgk", 0) == 0) Name = Name.substr(7);
    SheetLabel(C, X0, Y0, std::to_wstring(K) + L" " + Name);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(kHotFace);
    C->FillRect(TRect(X0 + 110, Y0 + 16, X0 + 220, Y0 + 72));
    Gdiplus::Graphics G(C->Handle());
    G.SetSmoothingMode(Gdiplus::SmoothingModeHighQuality);
    G.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    for (int Hot = 0; Hot < 2; ++Hot) {
      float X = static_cast<float>(X0 + 4 + Hot * 112);
      for (int Size : Sizes) {
        const TGPRectF Box(X, static_cast<float>(Y0 + 20 + (48 - Size) / 2), static_cast<float>(Size),
                           static_cast<float>(Size));
        GPDrawGlyph(&G, static_cast<TkaGPButtonGlyphKind>(K), Box, ToGPColor(Hot ? clWhite : kSheetInk, 255),
                    Size / 16.0, 1, clRed);
        X += static_cast<float>(Size + 8);
      }
    }
  }
}

// ---- Placements ----------------------------------------------------------------------------

void PaintDrawStyles(TCanvas* C) {
  TkaGPImageCollection Images(nullptr);
  TPngImage Badge;
  MakeBadgePicture(Badge);
  Images.Images()->Add()->SetPngImage(&Badge);
  const TEnumInfo& Styles = EnumInfoOf<TkaImageDrawStyle>();
  const int CellW = 170, CellH = 120;
  for (int S = 0; S < 25; ++S) {
    const int X0 = 10 + (S % 5) * CellW, Y0 = 34 + (S / 5) * CellH;
    SheetLabel(C, X0, Y0, Styles.NameOf(S));
    const TRect R(X0, Y0 + 16, X0 + CellW - 14, Y0 + CellH - 8);
    FillChecker(C, R);
    Images.Images()->Items(0)->SetDrawStyle(static_cast<TkaImageDrawStyle>(S));
    // Placements are not clipped to their rectangle; tiles that run past it must not cover
    // the next cell.
    TCanvasStateSaver Clip(C, R);
    Images.Draw(C, R, 0, 1.0);
  }
}

// ---- Drawing by margins --------------------------------------------------------------------

struct TMarginCase {
  const wchar_t* Name;
  int L, T, R, B;
  bool Stretch, StretchBorder, OnlyBorder;
};

const TMarginCase kMarginCases[] = {
    {L"nine parts, all stretched", 8, 8, 8, 8, true, true, false},
    {L"nine parts, edges tiled", 8, 8, 8, 8, true, false, false},
    {L"nine parts, all tiled", 8, 8, 8, 8, false, false, false},
    {L"nine parts, only border", 8, 8, 8, 8, true, true, true},
    {L"three parts, stacked", 0, 8, 0, 8, true, false, false},
    {L"three parts, side by side", 8, 0, 8, 0, false, false, false},
};

void PaintMargins(TCanvas* C) {
  TBitmap Skin;
  MakeSkinBitmap(Skin);
  // The skin's rows lie bottom-up: start at the top row and step backwards.
  Gdiplus::Bitmap Image(Skin.Width(), Skin.Height(), -Skin.BytesPerScanLine(), PixelFormat32bppARGB,
                        static_cast<BYTE*>(Skin.ScanLine(0)));
  const int CellW = 200, CellH = 130;
  for (int Row = 0; Row < 2; ++Row) {
    SheetLabel(C, 10, 34 + Row * (CellH + 24), Row == 0 ? L"GDI, 30 x 30 skin, margins 8" : L"GDI+, scale 1.5");
    for (int I = 0; I < 6; ++I) {
      const TMarginCase& M = kMarginCases[I];
      const int X0 = 10 + I * CellW, Y0 = 54 + Row * (CellH + 24);
      SheetLabel(C, X0, Y0, M.Name);
      const TRect R(X0, Y0 + 16, X0 + CellW - 16, Y0 + CellH);
      FillChecker(C, R);
      if (Row == 0) {
        TkaBitmapOptions O;
        O.SetLeftMargin(M.L), O.SetTopMargin(M.T), O.SetRightMargin(M.R), O.SetBottomMargin(M.B);
        O.SetStretch(M.Stretch), O.SetStretchBorder(M.StretchBorder), O.SetDrawOnlyBorder(M.OnlyBorder);
        DrawBitmapWithOptions(&Skin, &O, C, 255, R);
      } else {
        TkaGPBitmapOptions O;
        O.SetLeftMargin(M.L), O.SetTopMargin(M.T), O.SetRightMargin(M.R), O.SetBottomMargin(M.B);
        O.SetStretch(M.Stretch), O.SetStretchBorder(M.StretchBorder), O.SetDrawOnlyBorder(M.OnlyBorder);
        Gdiplus::Graphics G(C->Handle());
        GPDrawImageWithOptions(&G, &Image, &O, RectToGPRect(R), 0, 0, 1.5);
      }
    }
  }
}

// ---- Glow text -----------------------------------------------------------------------------

void PaintGlow(TCanvas* C) {
  struct TCase {
    TColor Color;
    int Size;
    bool Intensive;
    int Offset;
    bool Dark;
  };
  const TCase Cases[] = {{clHighlight, 7, true, 0, false},  {clRed, 4, true, 0, false},
                         {static_cast<TColor>(0x00A5FF), 12, true, 0, false}, {clLime, 7, false, 0, true},
                         {clAqua, 7, true, 2, true},       {clWhite, 10, true, 0, true}};
  C->Font()->SetHeight(-20);
  for (int I = 0; I < 6; ++I) {
    const TCase& K = Cases[I];
    const TRect Cell(10 + (I % 3) * 250, 40 + (I / 3) * 90, 10 + (I % 3) * 250 + 236, 40 + (I / 3) * 90 + 80);
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(K.Dark ? static_cast<TColor>(0x303030) : static_cast<TColor>(0xF0F0F0));
    C->FillRect(Cell);
    C->Font()->SetColor(K.Dark ? clWhite : kSheetInk);
    const String Text = L"Glow " + std::to_wstring(K.Size) + (K.Intensive ? L"" : L" soft") +
                        (K.Offset ? L" offset" : L"");
    DrawTextWithGlow(C, TRect(Cell.Left + 16, Cell.Top + 20, Cell.Right - 16, Cell.Bottom - 20), Text, false, false,
                     255, K.Intensive, K.Size, K.Color, K.Offset, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

// The control sheets under the active style, with Suffix before ".png".
void RenderControlSheets(const String& Folder, const String& Suffix, const String& Style) {
  const String under = Style.empty() ? String() : L" - " + Style;
  RenderSheet(Folder + L"toggleswitch" + Suffix + L".png", kSwitchSheetWidth, kSwitchSheetHeight,
              L"Toggle switch: vector, mask and picture looks in every state, off and on" + under, PaintSwitchSheet);
  RenderSheet(Folder + L"button" + Suffix + L".png", kButtonSheetWidth, kButtonSheetHeight,
              L"Push button (TkaButton): the 24 style kinds in five states" + under, PaintButtonSheet);
  RenderSheet(Folder + L"checkbox" + Suffix + L".png", kCheckBoxSheetWidth, kCheckBoxSheetHeight,
              L"Check box (TkaCheckBox): three check states in five control states" + under, PaintCheckBoxSheet);
  RenderSheet(Folder + L"listbox" + Suffix + L".png", kListBoxSheetWidth, kListBoxSheetHeight,
              L"Advanced list box (TkaAdvancedListBox): row parts and selection looks" + under, PaintListBoxSheet);
  RenderSheet(Folder + L"combobox" + Suffix + L".png", kComboBoxSheetWidth, kComboBoxSheetHeight,
              L"Advanced combo box (TkaAdvancedComboBox): the eleven looks and open lists" + under,
              PaintComboBoxSheet);
}

// "-dark" for "Karvo Dark": the style name's last word, lower case.
String StyleSuffix(const String& Style) {
  const size_t space = Style.find_last_of(L' ');
  return L"-" + LowerCase(space == String::npos ? Style : Style.substr(space + 1));
}

}  // namespace

int main(int argc, char** argv) {
  String Folder = argc > 1 ? FromUtf8(argv[1]) : String(L".");
  if (!Folder.empty() && Folder.back() != L'\\' && Folder.back() != L'/') Folder += L'\\';
  std::vector<String> Styles;
  for (int i = 2; i < argc; ++i) Styles.push_back(FromUtf8(argv[i]));
  if (argc <= 2) Styles = {L"Karvo Dark", L"Karvo Light"};
  try {
    RenderSheet(Folder + L"glyphs.png", 1400, 34 + 20 * 78, L"Vector glyphs at 16, 24 and 48 px, normal and hot",
                PaintGlyphs);
    RenderSheet(Folder + L"drawstyles.png", 870, 640, L"The 25 placements of a 40 x 28 picture with alpha",
                PaintDrawStyles);
    RenderSheet(Folder + L"margins.png", 1210, 370, L"Drawing by margins", PaintMargins);
    RenderSheet(Folder + L"glowtext.png", 770, 230, L"Glow text", PaintGlow);
    RenderSheet(Folder + L"hint.png", kHintSheetWidth, kHintSheetHeight,
                L"Hint window (TkaHint): plain and extended hints, styles, 144 DPI and the fade-in", PaintHintSheet);
    RenderControlSheets(Folder, String(), String());
    for (const String& Style : Styles) {
      if (SameText(Style, L"Windows")) continue;
      TStyleManager::SetStyle(Style);
      RenderControlSheets(Folder, StyleSuffix(Style), TStyleManager::ActiveStyle()->Name());
      TStyleManager::SetStyle(L"Windows");
    }
  } catch (const std::exception& E) {
    std::fprintf(stderr, "ka_refsheets: %s\n", E.what());
    return 1;
  }
  return 0;
}
