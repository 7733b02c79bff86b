// Layout streaming: the class tables, the parser and the reader, on small test-only classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Streaming.h"
#include "framework/TypeInfo.h"

namespace {

std::vector<std::wstring> gLog;         // setter, parent and Loaded calls in order
std::vector<std::wstring> gNotLoading;  // setters that ran without csLoading + csReading
std::vector<std::wstring> gLoadProblems;

enum TTestAlign { taNone, taLeft, taRight, taClient };
enum TTestStyle { tsBold, tsItalic, tsUnderline };
using TTestStyles = TSet<TTestStyle>;

void Note(TComponent* Owner, const std::wstring& What) {
  std::wstring entry = Owner->Name() + L"." + What;
  gLog.push_back(entry);
  TComponentState s = Owner->ComponentState();
  if (!s.Contains(csLoading) || !s.Contains(csReading)) gNotLoading.push_back(entry);
}

class TTestWidget;

class TTestFont : public TPersistent {
  KA_CLASS(TTestFont, TPersistent)
 public:
  explicit TTestFont(TComponent* Owner) : FOwner(Owner) {}
  const String& Name() const { return FName; }
  void SetName(const String& v) { FName = v; Note(FOwner, L"Font.Name"); }
  int Height() const { return FHeight; }
  void SetHeight(int v) { FHeight = v; Note(FOwner, L"Font.Height"); }
  TTestStyles Style() const { return FStyle; }
  void SetStyle(TTestStyles v) { FStyle = v; Note(FOwner, L"Font.Style"); }

 private:
  TComponent* FOwner;
  String FName;
  int FHeight = 0;
  TTestStyles FStyle;
};

class TTestItem : public TCollectionItem {
  KA_CLASS(TTestItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v) { FCaption = v; Log(L"Caption"); }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v) { FImageIndex = v; Log(L"ImageIndex"); }
  TTestWidget* Target() const { return FTarget; }
  void SetTarget(TTestWidget* v) { FTarget = v; Log(L"Target"); }

 private:
  void Log(const wchar_t* What) {
    auto* owner = dynamic_cast<TComponent*>(Collection()->GetOwner());
    Note(owner, L"Items[" + std::to_wstring(Index()) + L"]." + What);
  }
  String FCaption;
  int FImageIndex = -1;
  TTestWidget* FTarget = nullptr;
};

class TTestItems : public TOwnedCollection {
  KA_CLASS(TTestItems, TOwnedCollection)
 public:
  explicit TTestItems(TPersistent* Owner)
      : TOwnedCollection(Owner, [](TCollection* c) { return new TTestItem(c); }) {}
  TTestItem* Item(int Index) const { return static_cast<TTestItem*>(Items(Index)); }
};

// A visual component: nests under its enclosing object.
class TTestWidget : public TComponent {
  KA_CLASS(TTestWidget, TComponent)
 public:
  explicit TTestWidget(TComponent* AOwner)
      : TComponent(AOwner), FFont(new TTestFont(this)), FItems(new TTestItems(this)) {}
  ~TTestWidget() override {
    FItems->Free();
    FFont->Free();
  }
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return FParent; }
  void SetParentComponent(TComponent* Value) override {
    FParent = Value;
    gLog.push_back(Name() + L".Parent=" + Value->Name());
  }
  void Loaded() override {
    gLog.push_back(Name() + L".Loaded");
    TComponentState s = ComponentState();
    if (!s.Contains(csLoading) || s.Contains(csReading)) gLoadProblems.push_back(Name() + L": own state");
    if (Owner()->ComponentState().Contains(csLoading)) gLoadProblems.push_back(Name() + L": root still loading");
    inherited::Loaded();
  }

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v) { FCaption = v; Note(this, L"Caption"); }
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; Note(this, L"Width"); }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; Note(this, L"Ratio"); }
  int64_t Big() const { return FBig; }
  void SetBig(int64_t v) { FBig = v; Note(this, L"Big"); }
  uint8_t Small() const { return FSmall; }
  void SetSmall(uint8_t v) { FSmall = v; Note(this, L"Small"); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool v) { FVisible = v; Note(this, L"Visible"); }
  TTestAlign Align() const { return FAlign; }
  void SetAlign(TTestAlign v) { FAlign = v; Note(this, L"Align"); }
  TTestStyles Style() const { return FStyle; }
  void SetStyle(TTestStyles v) { FStyle = v; Note(this, L"Style"); }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; Note(this, L"Color"); }
  TTestFont* Font() const { return FFont; }
  TTestItems* Items() const { return FItems; }
  TTestWidget* Buddy() const { return FBuddy; }
  void SetBuddy(TTestWidget* v) { FBuddy = v; Note(this, L"Buddy"); }
  const std::vector<uint8_t>& Data() const { return FData; }
  void SetData(const std::vector<uint8_t>& v) { FData = v; Note(this, L"Data"); }

  TNotifyEvent OnClick;
  std::function<void(TObject* Sender, int& Key, bool Shift)> OnKey;

 private:
  TComponent* FParent = nullptr;
  String FCaption;
  int FWidth = 0;
  double FRatio = 0;
  int64_t FBig = 0;
  uint8_t FSmall = 0;
  bool FVisible = true;
  TTestAlign FAlign = taNone;
  TTestStyles FStyle;
  TColor FColor = clWindow;
  TTestFont* FFont;
  TTestItems* FItems;
  TTestWidget* FBuddy = nullptr;
  std::vector<uint8_t> FData;
};

// Inherits the widget's table and replaces its Caption entry.
class TTestButton : public TTestWidget {
  KA_CLASS(TTestButton, TTestWidget)
 public:
  using TTestWidget::TTestWidget;
  void SetButtonCaption(const String& v) {
    SetCaption(v);
    gLog.back() = Name() + L".ButtonCaption";
  }
};

// Known to the tables only through its ancestor.
class TTestUnregistered : public TTestWidget {
  KA_CLASS(TTestUnregistered, TTestWidget)
 public:
  using TTestWidget::TTestWidget;
};

// A non-visual component: under the root it gets no parent.
class TTestStore : public TComponent {
  KA_CLASS(TTestStore, TComponent)
 public:
  using TComponent::TComponent;
  void SetParentComponent(TComponent* Value) override { gLog.push_back(Name() + L".Parent=" + Value->Name()); }
  void Loaded() override {
    gLog.push_back(Name() + L".Loaded");
    inherited::Loaded();
  }
  TComponent* Target() const { return FTarget; }
  void SetTarget(TComponent* v) { FTarget = v; Note(this, L"Target"); }

 private:
  TComponent* FTarget = nullptr;
};

class TTestAbstract : public TComponent {
  KA_CLASS(TTestAbstract, TComponent)
 public:
  using TComponent::TComponent;
  virtual void Must() = 0;
};

class TTestForm : public TComponent {
  KA_CLASS(TTestForm, TComponent)
 public:
  using TComponent::TComponent;
  TTestWidget* Panel1 = nullptr;
  TTestButton* Button1 = nullptr;
  TTestStore* Store1 = nullptr;
  TNotifyEvent OnCreate;

  const String& Caption() const { return FCaption; }
  void SetCaption(const String& v) { FCaption = v; Note(this, L"Caption"); }
  TColor Color() const { return FColor; }
  void SetColor(TColor v) { FColor = v; Note(this, L"Color"); }

  void FormCreate(TObject* Sender) { gLog.push_back(L"FormCreate(" + NameOf(Sender) + L")"); }
  void ButtonClick(TObject* Sender) { gLog.push_back(L"ButtonClick(" + NameOf(Sender) + L")"); }
  void KeyDown(TObject* Sender, int& Key, bool Shift) {
    gLog.push_back(L"KeyDown(" + NameOf(Sender) + L", " + std::to_wstring(Key) + L")");
    if (Shift) Key = 0;
  }
  void Bad(int) {}

  void Loaded() override {
    gLog.push_back(Name() + L".Loaded");
    for (int i = 0; i < ComponentCount(); ++i) {
      TComponentState s = Components(i)->ComponentState();
      if (!s.Contains(csLoading) || s.Contains(csReading)) gLoadProblems.push_back(L"child state at root Loaded");
    }
    inherited::Loaded();
  }

 private:
  static String NameOf(TObject* Sender) {
    auto* c = dynamic_cast<TComponent*>(Sender);
    return c != nullptr ? c->Name() : L"?";
  }
  String FCaption;
  TColor FColor = clWindow;
};

KA_REGISTER_ENUM(TTestAlign, {{L"taNone", taNone}, {L"taLeft", taLeft}, {L"taRight", taRight}, {L"taClient", taClient}});
KA_REGISTER_ENUM(TTestStyle, {{L"tsBold", tsBold}, {L"tsItalic", tsItalic}, {L"tsUnderline", tsUnderline}});

KA_REGISTER_CLASS(TTestFont, [](auto& c) {
  c.Property(L"Name", &TTestFont::Name, &TTestFont::SetName);
  c.Property(L"Height", &TTestFont::Height, &TTestFont::SetHeight);
  c.Property(L"Style", &TTestFont::Style, &TTestFont::SetStyle);
});
KA_REGISTER_CLASS(TTestItem, [](auto& c) {
  c.Property(L"Caption", &TTestItem::Caption, &TTestItem::SetCaption);
  c.Property(L"ImageIndex", &TTestItem::ImageIndex, &TTestItem::SetImageIndex);
  c.Property(L"Target", &TTestItem::Target, &TTestItem::SetTarget);
});
KA_REGISTER_CLASS(TTestWidget, [](auto& c) {
  c.Property(L"Caption", &TTestWidget::Caption, &TTestWidget::SetCaption);
  c.Property(L"Width", &TTestWidget::Width, &TTestWidget::SetWidth);
  c.Property(L"Ratio", &TTestWidget::Ratio, &TTestWidget::SetRatio);
  c.Property(L"Big", &TTestWidget::Big, &TTestWidget::SetBig);
  c.Property(L"Small", &TTestWidget::Small, &TTestWidget::SetSmall);
  c.Property(L"Visible", &TTestWidget::Visible, &TTestWidget::SetVisible);
  c.Property(L"Align", &TTestWidget::Align, &TTestWidget::SetAlign);
  c.Property(L"Style", &TTestWidget::Style, &TTestWidget::SetStyle);
  c.Property(L"Color", &TTestWidget::Color, &TTestWidget::SetColor);
  c.Property(L"Font", &TTestWidget::Font);
  c.Property(L"Items", &TTestWidget::Items);
  c.Property(L"Buddy", &TTestWidget::Buddy, &TTestWidget::SetBuddy);
  c.Property(L"Data", &TTestWidget::Data, &TTestWidget::SetData);
  c.Property(L"OnClick", &TTestWidget::OnClick);
  c.Property(L"OnKey", &TTestWidget::OnKey);
});
KA_REGISTER_CLASS(TTestButton, [](auto& c) {
  c.Property(L"Caption", &TTestWidget::Caption, &TTestButton::SetButtonCaption);
});
KA_REGISTER_CLASS(TTestStore, [](auto& c) { c.Property(L"Target", &TTestStore::Target, &TTestStore::SetTarget); });
KA_REGISTER_CLASS(TTestAbstract);
KA_REGISTER_CLASS(TTestForm, [](auto& c) {
  c.Property(L"Caption", &TTestForm::Caption, &TTestForm::SetCaption);
  c.Property(L"Color", &TTestForm::Color, &TTestForm::SetColor);
  c.Property(L"OnCreate", &TTestForm::OnCreate);
  c.Handler(L"FormCreate", &TTestForm::FormCreate);
  c.Handler(L"ButtonClick", &TTestForm::ButtonClick);
  c.Handler(L"KeyDown", &TTestForm::KeyDown);
  c.Handler(L"Bad", &TTestForm::Bad);
  c.Field(L"Panel1", &TTestForm::Panel1);
  c.Field(L"Button1", &TTestForm::Button1);
  c.Field(L"Store1", &TTestForm::Store1);
});

// A root freed at the end of the scope, as a form's owner would.
template <class T>
struct TOwned {
  T* Obj = Construct<T>(nullptr);
  ~TOwned() { Obj->Free(); }
  T* operator->() const { return Obj; }
};

const char kGoodLayout[] = R"(object Form1: TTestForm
  Caption = 'Karvo ''VCL'''#13#10'Demo' +
    ' – ünïcode 😀'
  Color = clBtnFace
  OnCreate = FormCreate
  object Panel1: TTestWidget
    Width = -11
    Ratio = 1.5
    Big = $7FFFFFFFFFFF
    Small = 255
    Visible = False
    Align = taClient
    Style = [tsBold, tsUnderline]
    Color = $00FF8000
    Font.Name = 'Tahoma'
    Font.Height = -11
    Font.Style = [tsItalic]
    Buddy = Button1
    Data = {
      0102AB
      ff}
    Items = <
      item
        Caption = 'first'
        ImageIndex = 1
        Target = Button1
      end
      item
      end>
    OnClick = ButtonClick
    object Button1: TTestButton
      Caption = 'OK'
      Width = 75
      OnClick = ButtonClick
      OnKey = KeyDown
    end
    object Store2: TTestStore
    end
  end
  object Store1: TTestStore
    Target = Form1
  end
end
)";

class Streaming : public ::testing::Test {
 protected:
  void SetUp() override {
    gLog.clear();
    gNotLoading.clear();
    gLoadProblems.clear();
    FAliveBefore = TObject::AliveCount();
  }
  void TearDown() override { EXPECT_EQ(TObject::AliveCount(), FAliveBefore) << "objects leaked"; }

  // Reads onto a fresh form and returns the error, failing the test when there is none.
  static ELayoutError ReadBad(const std::string& Text) {
    TOwned<TTestForm> form;
    try {
      ReadLayout(form.Obj, Text, L"TEST");
    } catch (const ELayoutError& e) {
      // Nothing is left believing it is still loading.
      for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_FALSE(form->Components(i)->ComponentState().Contains(csLoading));
      EXPECT_FALSE(form->ComponentState().Contains(csLoading));
      return e;
    }
    ADD_FAILURE() << "no error for:\n" << Text;
    return ELayoutError(L"", 0, L"");
  }

 private:
  int FAliveBefore = 0;
};

TEST_F(Streaming, GoodLayoutBuildsTreeInOrderWhileLoading) {
  TOwned<TTestForm> form;
  ReadLayout(form.Obj, kGoodLayout, L"GOOD");

  const std::vector<std::wstring> expected = {
      L"Form1.Caption", L"Form1.Color", L"Panel1.Parent=Form1", L"Panel1.Width", L"Panel1.Ratio", L"Panel1.Big",
      L"Panel1.Small", L"Panel1.Visible", L"Panel1.Align", L"Panel1.Style", L"Panel1.Color", L"Panel1.Font.Name",
      L"Panel1.Font.Height", L"Panel1.Font.Style", L"Panel1.Data", L"Panel1.Items[0].Caption",
      L"Panel1.Items[0].ImageIndex", L"Button1.Parent=Panel1", L"Button1.ButtonCaption", L"Button1.Width",
      L"Store2.Parent=Panel1",
      // references, once everything exists
      L"Panel1.Buddy", L"Panel1.Items[0].Target", L"Store1.Target",
      // root first, then layout order
      L"Form1.Loaded", L"Panel1.Loaded", L"Button1.Loaded", L"Store2.Loaded", L"Store1.Loaded"};
  EXPECT_EQ(gLog, expected);
  EXPECT_TRUE(gNotLoading.empty()) << "setter without csLoading: " << ToUtf8(gNotLoading.front());
  EXPECT_TRUE(gLoadProblems.empty()) << ToUtf8(gLoadProblems.front());

  EXPECT_EQ(form->Name(), L"Form1");
  EXPECT_EQ(form->Caption(), L"Karvo 'VCL'\r\nDemo \u2013 \u00FCn\u00EFcode \U0001F600");
  EXPECT_EQ(form->Color(), clBtnFace);
  ASSERT_EQ(form->ComponentCount(), 4);
  EXPECT_EQ(form->Components(0), form->Panel1);
  EXPECT_EQ(form->Components(1), form->Button1);
  EXPECT_EQ(form->Components(2)->Name(), L"Store2");
  EXPECT_EQ(form->Components(3), form->Store1);
  for (int i = 0; i < form->ComponentCount(); ++i) {
    EXPECT_EQ(form->Components(i)->Owner(), form.Obj);
    EXPECT_TRUE(form->Components(i)->ComponentState().Empty());
  }
  EXPECT_TRUE(form->ComponentState().Empty());

  TTestWidget* p = form->Panel1;
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->GetParentComponent(), form.Obj);
  EXPECT_EQ(p->Width(), -11);
  EXPECT_EQ(p->Ratio(), 1.5);
  EXPECT_EQ(p->Big(), 0x7FFFFFFFFFFF);
  EXPECT_EQ(p->Small(), 255);
  EXPECT_FALSE(p->Visible());
  EXPECT_EQ(p->Align(), taClient);
  EXPECT_EQ(p->Style(), TTestStyles({tsBold, tsUnderline}));
  EXPECT_EQ(p->Color(), MakeColor(0x00FF8000));
  EXPECT_EQ(p->Font()->Name(), L"Tahoma");
  EXPECT_EQ(p->Font()->Height(), -11);
  EXPECT_EQ(p->Font()->Style(), TTestStyles(tsItalic));
  EXPECT_EQ(p->Buddy(), form->Button1);
  EXPECT_EQ(p->Data(), (std::vector<uint8_t>{0x01, 0x02, 0xAB, 0xFF}));
  ASSERT_EQ(p->Items()->Count(), 2);
  EXPECT_EQ(p->Items()->Item(0)->Caption(), L"first");
  EXPECT_EQ(p->Items()->Item(0)->ImageIndex(), 1);
  EXPECT_EQ(p->Items()->Item(0)->Target(), form->Button1);
  EXPECT_EQ(p->Items()->Item(1)->ImageIndex(), -1);
  EXPECT_EQ(form->Button1->GetParentComponent(), p);
  EXPECT_EQ(form->Button1->Caption(), L"OK");
  EXPECT_EQ(form->Store1->Target(), form.Obj);

  // The check above would see a setter running outside loading.
  p->SetWidth(5);
  EXPECT_EQ(gNotLoading, std::vector<std::wstring>{L"Panel1.Width"});
}

TEST_F(Streaming, HandlersCallTheRootsMethodsWithTheirArguments) {
  TOwned<TTestForm> form;
  ReadLayout(form.Obj, kGoodLayout, L"GOOD");
  gLog.clear();
  ASSERT_TRUE(form->OnCreate && form->Panel1->OnClick && form->Button1->OnKey);
  form->OnCreate(form.Obj);
  form->Panel1->OnClick(form->Panel1);
  form->Button1->OnClick(form->Button1);
  int key = 13;
  form->Button1->OnKey(form->Button1, key, true);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(gLog, (std::vector<std::wstring>{L"FormCreate(Form1)", L"ButtonClick(Panel1)", L"ButtonClick(Button1)",
                                              L"KeyDown(Button1, 13)"}));
}

TEST_F(Streaming, ReferencesResolveForwardAcrossRootsAndToNil) {
  TOwned<TTestForm> other;
  other->SetName(L"Other");
  auto* shared = new TTestWidget(other.Obj);
  shared->SetName(L"Shared");
  const char* layout =
      "object Form1: TTestForm\n"
      "  object Panel1: TTestWidget\n"
      "    Buddy = other.shared\n"
      "  end\n"
      "  object Panel2: TTestWidget\n"
      "    Buddy = nil\n"
      "  end\n"
      "  object Store1: TTestStore\n"
      "    Target = Form1.Panel2\n"
      "  end\n"
      "end\n";

  RegisterLayoutRoot(other.Obj);
  {
    TOwned<TTestForm> form;
    ReadLayout(form.Obj, layout, L"REFS");
    EXPECT_EQ(form->Panel1->Buddy(), shared);
    EXPECT_EQ(form->Store1->Target(), form->FindComponent(L"Panel2"));
    EXPECT_EQ(FindLayoutRoot(L"OTHER"), other.Obj);
  }
  UnregisterLayoutRoot(other.Obj);
  EXPECT_EQ(FindLayoutRoot(L"Other"), nullptr);
  ELayoutError e = ReadBad(layout);
  EXPECT_EQ(e.Line(), 3);
  EXPECT_EQ(e.Problem(), L"unknown component 'other.shared' for property 'Buddy' of TTestWidget");
}

TEST_F(Streaming, TablesAreFoundByNameAndInheritedAlongTheChain) {
  EXPECT_EQ(FindClassInfo(L"ttestwidget"), &StaticClassInfo<TTestWidget>());
  EXPECT_EQ(FindClassInfo(L"TNoSuchClass"), nullptr);
  const TClassInfo& button = StaticClassInfo<TTestButton>();
  EXPECT_EQ(button.Base(), &StaticClassInfo<TTestWidget>());
  EXPECT_TRUE(button.CanCreate());
  EXPECT_FALSE(StaticClassInfo<TTestAbstract>().CanCreate());
  EXPECT_NE(button.FindProperty(L"width"), nullptr);
  EXPECT_NE(button.FindProperty(L"Caption"), StaticClassInfo<TTestWidget>().FindProperty(L"Caption"));
  EXPECT_NE(button.FindProperty(L"Name"), nullptr);  // from TComponent
  EXPECT_EQ(button.FindProperty(L"Colr"), nullptr);

  // An object of an unregistered class uses its nearest registered ancestor's table.
  TOwned<TTestForm> form;
  auto* odd = new TTestUnregistered(form.Obj);
  EXPECT_EQ(ClassInfoOf(odd), &StaticClassInfo<TTestWidget>());

  // The tables read and write through the accessors.
  const TPropInfo* style = ClassInfoOf(odd)->FindProperty(L"Style");
  ASSERT_NE(style, nullptr);
  EXPECT_EQ(style->Kind, pkSet);
  style->Write(odd, TPropValue(std::in_place_type<int64_t>, (1 << tsItalic) | (1 << tsUnderline)));
  EXPECT_EQ(odd->Style(), TTestStyles({tsItalic, tsUnderline}));
  EXPECT_EQ(std::get<int64_t>(style->Read(odd)), (1 << tsItalic) | (1 << tsUnderline));
  EXPECT_EQ(EnumInfoOf<TTestStyle>().NameOf(tsUnderline), L"tsUnderline");
  EXPECT_EQ(ClassInfoOf(odd)->FindProperty(L"OnKey")->TypeName(), L"void(TObject*, int&, bool)");
}

TEST_F(Streaming, ParserAloneGivesTheTreeWithLinesAndValues) {
  TLayoutObject root = ParseLayout(
      "\xEF\xBB\xBF"
      "object A: TA\n"
      "  S = 'it''s'#13#10'x' + #$41 +\n"
      "      #128512''\n"
      "  N = -$10\n"
      "  F = -2.5E-1\n"
      "  I = Form1.Images\n"
      "  Set = [a, b]\n"
      "  Empty = []\n"
      "  B = { 00 ff\n"
      "        7F }\n"
      "  C = <\n"
      "    item\n"
      "      X = 9223372036854775807\n"
      "    end\n"
      "    item end>\n"
      "  object B1: TB end\n"
      "end",
      L"P");
  EXPECT_EQ(root.Name, L"A");
  EXPECT_EQ(root.ClassName, L"TA");
  ASSERT_EQ(root.Properties.size(), 8u);
  const auto& p = root.Properties;
  EXPECT_EQ(p[0].Value.Kind, TLayoutValueKind::String);
  EXPECT_EQ(p[0].Value.Text, L"it's\r\nxA\U0001F600");
  EXPECT_EQ(p[1].Line, 4);
  EXPECT_EQ(p[1].Value.Integer, -16);
  EXPECT_EQ(p[2].Value.Kind, TLayoutValueKind::Float);
  EXPECT_EQ(p[2].Value.Float, -0.25);
  EXPECT_EQ(p[3].Value.Kind, TLayoutValueKind::Identifier);
  EXPECT_EQ(p[3].Value.Text, L"Form1.Images");
  EXPECT_EQ(p[4].Value.Set, (std::vector<String>{L"a", L"b"}));
  EXPECT_EQ(p[5].Value.Kind, TLayoutValueKind::Set);
  EXPECT_TRUE(p[5].Value.Set.empty());
  EXPECT_EQ(p[6].Value.Binary, (std::vector<uint8_t>{0x00, 0xFF, 0x7F}));
  ASSERT_EQ(p[7].Value.Items.size(), 2u);
  EXPECT_EQ(p[7].Value.Items[0].Line, 12);
  EXPECT_EQ(p[7].Value.Items[0].Properties[0].Value.Integer, INT64_MAX);
  EXPECT_TRUE(p[7].Value.Items[1].Properties.empty());
  ASSERT_EQ(root.Children.size(), 1u);
  EXPECT_EQ(root.Children[0].Line, 16);
  EXPECT_EQ(root.Children[0].ClassName, L"TB");
}

struct TBadCase {
  const char* What;
  std::string Text;
  int Line;
  const wchar_t* Problem;  // part of the message
};

// A form holding a panel whose third line is the given one.
std::string InPanel(const std::string& Line) {
  return "object Form1: TTestForm\n  object Panel1: TTestWidget\n    " + Line + "\n  end\nend\n";
}

TEST_F(Streaming, BadLayoutsNameTheLineAndTheProblem) {
  const std::vector<TBadCase> cases = {
      {"unterminated string", InPanel("Caption = 'abc"), 3, L"unterminated string"},
      {"missing end", "object Form1: TTestForm\n  object Panel1: TTestWidget\n    Width = 1\n  end\n\n", 4,
       L"expected a property, 'object' or 'end', found end of text"},
      {"unknown class", "object Form1: TTestForm\n  object X: TNoSuchClass\n  end\nend", 2,
       L"unknown class 'TNoSuchClass'"},
      {"class that cannot be created", "object Form1: TTestForm\n  object X: TTestAbstract\n  end\nend", 2,
       L"class 'TTestAbstract' cannot be created"},
      {"root of another class", "object Form1: TTestWidget\nend", 1, L"the layout is for a TTestWidget"},
      {"unknown property", InPanel("Colr = clRed"), 3, L"unknown property 'Colr' of TTestWidget"},
      {"unknown sub-property", InPanel("Font.Nme = 'x'"), 3, L"unknown property 'Nme' of TTestFont"},
      {"path through a value", InPanel("Width.X = 1"), 3, L"'Width' of TTestWidget is not an object"},
      {"bad enumeration name", InPanel("Align = taMiddle"), 3,
       L"unknown value 'taMiddle' of TTestAlign for property 'Align' of TTestWidget"},
      {"bad set member", InPanel("Style = [tsBold, tsBlink]"), 3, L"unknown value 'tsBlink' of TTestStyle in the set"},
      {"string for integer", InPanel("Width = 'wide'"), 3,
       L"property 'Width' of TTestWidget expects an integer, not a string"},
      {"float for integer", InPanel("Width = 1.5"), 3, L"expects an integer, not a number"},
      {"integer for Boolean", InPanel("Visible = 1"), 3, L"expects True or False, not an integer"},
      {"set for enumeration", InPanel("Align = [taLeft]"), 3, L"expects a value of TTestAlign, not a set"},
      {"value for sub-object", InPanel("Font = 'Tahoma'"), 3, L"'Font' of TTestWidget is an object"},
      {"items for a value", InPanel("Width = <>"), 3, L"expects an integer, not a collection"},
      {"number out of range", InPanel("Small = 256"), 3, L"256 is out of range for property 'Small' of TTestWidget (0..255)"},
      {"int out of range", InPanel("Width = $80000000"), 3, L"2147483648 is out of range"},
      {"literal out of range", InPanel("Big = 9223372036854775808"), 3, L"out of range"},
      {"unknown colour", InPanel("Color = clNoSuch"), 3, L"unknown colour 'clNoSuch' for property 'Color'"},
      {"unknown handler", InPanel("OnClick = Nothing"), 3,
       L"unknown handler 'Nothing' of TTestForm for event 'OnClick' of TTestWidget"},
      {"handler of another signature", InPanel("OnClick = Bad"), 3,
       L"handler 'Bad' of TTestForm is void(int), but event 'OnClick' of TTestWidget is void(TObject*)"},
      {"unknown component", InPanel("Buddy = Nobody"), 3, L"unknown component 'Nobody' for property 'Buddy'"},
      {"component of another class", InPanel("Buddy = Form1"), 3,
       L"component 'Form1' is a TTestForm, but property 'Buddy' of TTestWidget holds a TTestWidget"},
      {"field of another class", "object Form1: TTestForm\n  object Panel1: TTestStore\n  end\nend", 2,
       L"field 'Panel1' of TTestForm holds a TTestWidget, not a TTestStore"},
      {"duplicate name",
       "object Form1: TTestForm\n  object P: TTestWidget\n  end\n  object P: TTestWidget\n  end\nend", 4,
       L"cannot name a TTestWidget 'P': A component named P already exists"},
      {"collection given twice", InPanel("Items = <>\n    Items = <item end>"), 4, L"given twice"},
      {"garbage bytes", "object Form1: TTestForm\n  Caption = 'x'\n\x01\xFF\nend", 3, L"unexpected byte $01"},
      {"invalid UTF-8", InPanel("Caption = 'a\xC3\x28'"), 3, L"not valid UTF-8"},
      {"comment", InPanel("// Width = 1"), 3, L"unexpected character '/'"},
      {"text after the end", "object Form1: TTestForm\nend\nend\n", 3, L"after the last 'end'"},
      {"property after a child", "object Form1: TTestForm\n  object P: TTestWidget\n  end\n  Color = clRed\nend", 4,
       L"properties come first"},
      {"missing '='", InPanel("Width 5"), 3, L"expected '=', found '5'"},
      {"odd binary digits", InPanel("Data = {ABC}"), 3, L"odd number"},
      {"bad set syntax", InPanel("Style = [tsBold,]"), 3, L"expected a set member, found ']'"},
      {"number glued to a name", InPanel("Width = 12px"), 3, L"invalid number '12px'"},
      {"dangling '+'", InPanel("Caption = 'a' + Width"), 3, L"expected a string after '+'"},
      {"object in an item", InPanel("Items = <item object X: TTestWidget end end>"), 3, L"expected a property or 'end'"},
      {"empty text", "", 1, L"expected 'object', found end of text"},
  };
  for (const TBadCase& c : cases) {
    SCOPED_TRACE(c.What);
    ELayoutError e = ReadBad(c.Text);
    EXPECT_EQ(e.Line(), c.Line);
    EXPECT_NE(e.Problem().find(c.Problem), String::npos) << ToUtf8(e.Problem());
    EXPECT_EQ(e.Message(), L"TEST(" + std::to_wstring(c.Line) + L"): " + e.Problem());
  }
}

TEST_F(Streaming, NestingTooDeepIsAnErrorNotAStackOverflow) {
  std::string text = "object Form1: TTestForm\n";
  for (int i = 0; i < 100000; ++i) text += "object P" + std::to_string(i) + ": TTestWidget\n";
  ELayoutError e = ReadBad(text);
  EXPECT_NE(e.Problem().find(L"nested too deeply"), String::npos);
  std::string items;
  for (int i = 0; i < 100000; ++i) items += "<item X = ";
  e = ReadBad(InPanel("Items = " + items));
  EXPECT_EQ(e.Line(), 3);
  EXPECT_NE(e.Problem().find(L"nested too deeply"), String::npos);
}

// Every prefix of the good layout short of its last 'end' is an error at the line where the
// text stops, and nothing is left behind.
TEST_F(Streaming, TruncatedAtEveryPositionFailsAtItsLastLine) {
  const std::string good = kGoodLayout;
  const size_t complete = good.rfind("end") + 3;
  for (size_t n = 0; n <= good.size(); ++n) {
    std::string prefix = good.substr(0, n);
    if (n >= complete) {
      TOwned<TTestForm> form;
      ASSERT_NO_THROW(ReadLayout(form.Obj, prefix, L"CUT")) << n;
      continue;
    }
    size_t last = prefix.find_last_not_of(" \t\r\n");
    int line = last == std::string::npos ? 1 : 1 + static_cast<int>(std::count(prefix.begin(), prefix.begin() + last, '\n'));
    ELayoutError e = ReadBad(prefix);
    ASSERT_EQ(e.Line(), line) << "cut at " << n << ": " << ToUtf8(e.Message());
  }
}

// Damaged copies of the good layout: each reads or fails cleanly, never anything else.
TEST_F(Streaming, DamagedLayoutsFailCleanly) {
  const std::string good = kGoodLayout;
  const int lines = static_cast<int>(std::count(good.begin(), good.end(), '\n')) + 2;
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  int failures = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text = good;
    for (int edits = 1 + next() % 3; edits > 0; --edits) {
      size_t at = next() % text.size();
      switch (next() % 4) {
        case 0: text[at] = static_cast<char>(next()); break;
        case 1: text.erase(at, 1 + next() % 8); break;
        case 2: text.insert(at, text.substr(next() % text.size(), 1 + next() % 12)); break;
        default: text[at] = " '[]<>{}=.:#$+-\n"[next() % 16]; break;
      }
      if (text.empty()) text = "x";
    }
    TOwned<TTestForm> form;
    try {
      ReadLayout(form.Obj, text, L"FUZZ");
    } catch (const ELayoutError& e) {
      ++failures;
      ASSERT_GE(e.Line(), 1);
      ASSERT_LE(e.Line(), lines + 12 * 3);
    }
  }
  EXPECT_GT(failures, 1000);
}

TEST_F(Streaming, ReadsFromAnEmbeddedResource) {
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  {
    TOwned<TTestForm> form;
    ASSERT_TRUE(ReadLayoutResource(form.Obj, module, L"Streaming_Form"));
    EXPECT_EQ(form->Name(), L"ResForm");
    EXPECT_EQ(form->Caption(), L"From a resource");
    ASSERT_NE(form->Panel1, nullptr);
    EXPECT_EQ(form->Panel1->Width(), 42);
  }
  {
    TOwned<TTestForm> form;
    EXPECT_FALSE(ReadLayoutResource(form.Obj, module, L"NoSuchLayout"));
    EXPECT_EQ(form->ComponentCount(), 0);
    try {
      ReadLayoutResource(form.Obj, module, L"streaming_bad");
      ADD_FAILURE() << "no error";
    } catch (const ELayoutError& e) {
      EXPECT_EQ(e.Message(), L"STREAMING_BAD(3): unknown property 'Colr' of TTestForm");
    }
  }
}

}  // namespace
