// Window layouts as text: `object Name: TClass`, property assignments, nested objects, `end`.
// The parser turns the text into a tree; the reader builds components from that tree through
// the class tables of framework/TypeInfo.h.
#pragma once

#include <string>
#include <vector>

#include "framework/Classes.h"

// A layout that cannot be read: names the source, the line and the problem
// ("TFORM1(12): unknown property 'Colr' of TkaGPPanel").
class ELayoutError : public Exception {
 public:
  ELayoutError(const String& Source, int Line, const String& Problem);
  const String& Source() const { return FSource; }
  int Line() const { return FLine; }
  const String& Problem() const { return FProblem; }

 private:
  String FSource;
  int FLine;
  String FProblem;
};

// ---- The parsed form ----------------------------------------------------------------------

enum class TLayoutValueKind { Integer, Float, String, Identifier, Set, Collection, Binary };

struct TLayoutItem;

struct TLayoutValue {
  TLayoutValueKind Kind = TLayoutValueKind::Integer;
  int Line = 0;
  int64_t Integer = 0;
  double Float = 0;
  String Text;                     // strings; identifiers, possibly dotted (Form1.Images)
  std::vector<String> Set;         // member names
  std::vector<TLayoutItem> Items;  // collection items
  std::vector<uint8_t> Binary;
};

struct TLayoutProperty {
  String Path;  // possibly dotted: Margins.Left
  int Line = 0;
  TLayoutValue Value;
};

struct TLayoutItem {
  int Line = 0;
  std::vector<TLayoutProperty> Properties;
};

struct TLayoutObject {
  String Name;
  String ClassName;
  int Line = 0;
  std::vector<TLayoutProperty> Properties;  // in the order written
  std::vector<TLayoutObject> Children;
};

// Parses UTF-8 layout text (an optional byte order mark first); throws ELayoutError.
TLayoutObject ParseLayout(const std::string& Utf8Text, const String& SourceName);

// ---- Reading onto a root --------------------------------------------------------------------

// Reads a layout onto Root, which already exists: the top object must name Root's class or an
// ancestor of it; its name becomes Root's name. Nested objects are created owned by Root,
// properties are set in the order written with csLoading and csReading set, component
// references are resolved once everything exists, csReading is cleared, and Loaded runs on
// Root and then on every created component in layout order. Throws ELayoutError; components
// created before an error stay owned by Root.
void ReadLayout(TComponent* Root, const std::string& Utf8Text, const String& SourceName);
void ReadLayout(TComponent* Root, const TLayoutObject& Layout, const String& SourceName);

// Reads the RCDATA resource of that name (found without regard to case); false when the
// module has no such resource. Errors name the resource in upper case.
bool ReadLayoutResource(TComponent* Root, HINSTANCE Instance, const String& ResourceName);
// The bytes of an RCDATA resource found without regard to case; false when there is none.
bool LoadLayoutText(HINSTANCE Instance, const String& ResourceName, std::string& Text);

// Named roots (forms) that layouts may reference as `Form1.Images`; found by their current
// name. A root registers itself while it lives.
void RegisterLayoutRoot(TComponent* Root);
void UnregisterLayoutRoot(TComponent* Root);
TComponent* FindLayoutRoot(const String& Name);
