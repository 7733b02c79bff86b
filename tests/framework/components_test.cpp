// Ownership, destruction order and removal notifications of components and collections.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Classes.h"

namespace {

std::vector<std::wstring> gLog;

// Records every removal it hears of, and its own state when it does.
class TProbe : public TComponent {
  KA_CLASS(TProbe, TComponent)
 public:
  using TComponent::TComponent;
  TComponent* Ref = nullptr;
  bool SawDestroyingInDestructor = false;
  ~TProbe() override {
    SawDestroyingInDestructor = ComponentState().Contains(csDestroying);
    gLog.push_back(Name() + L":dtor:" + (SawDestroyingInDestructor ? L"destroying" : L"alive"));
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove) {
      gLog.push_back(Name() + L":removed:" + AComponent->Name());
      if (AComponent == Ref) Ref = nullptr;
    }
  }
};

class Components : public ::testing::Test {
 protected:
  void SetUp() override { gLog.clear(); }
};

TEST_F(Components, OwnerListsInInsertionOrderAndFindsByName) {
  TProbe owner(nullptr);
  auto* a = new TProbe(&owner);
  a->SetName(L"A");
  auto* b = new TProbe(&owner);
  b->SetName(L"B");
  ASSERT_EQ(owner.ComponentCount(), 2);
  EXPECT_EQ(owner.Components(0), a);
  EXPECT_EQ(owner.Components(1), b);
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(owner.FindComponent(L"b"), b);  // names compare without case
  EXPECT_EQ(owner.FindComponent(L"C"), nullptr);
  EXPECT_THROW(b->SetName(L"A"), EComponentError);
  EXPECT_THROW(owner.Components(2), EListError);
}

TEST_F(Components, SiblingHearsRemovalThroughOwnerWithoutAsking) {
  auto* owner = new TProbe(nullptr);
  auto* a = new TProbe(owner);
  a->SetName(L"A");
  auto* b = new TProbe(owner);
  b->SetName(L"B");
  a->Ref = b;  // no FreeNotification requested
  b->Free();
  EXPECT_EQ(a->Ref, nullptr);
  EXPECT_EQ(owner->ComponentCount(), 1);
  owner->Free();
}

TEST_F(Components, FreeNotificationCrossesOwnersAndIsWithdrawn) {
  auto* ownerA = new TProbe(nullptr);
  auto* ownerB = new TProbe(nullptr);
  auto* holder = new TProbe(ownerA);
  holder->SetName(L"Holder");
  auto* target = new TProbe(ownerB);
  target->SetName(L"Target");
  auto* other = new TProbe(ownerB);
  other->SetName(L"Other");

  holder->Ref = target;
  target->FreeNotification(holder);
  other->FreeNotification(holder);
  other->RemoveFreeNotification(holder);

  gLog.clear();
  other->Free();
  EXPECT_EQ(std::count(gLog.begin(), gLog.end(), L"Holder:removed:Other"), 0);
  target->Free();
  EXPECT_EQ(holder->Ref, nullptr);
  EXPECT_EQ(std::count(gLog.begin(), gLog.end(), L"Holder:removed:Target"), 1);
  ownerA->Free();
  ownerB->Free();
}

TEST_F(Components, DestroyingIsSetOnOwnerAndOwnedBeforeAnyDestructorBody) {
  auto* owner = new TProbe(nullptr);
  owner->SetName(L"Owner");
  auto* child = new TProbe(owner);
  child->SetName(L"Child");
  auto* grandchild = new TProbe(child);
  grandchild->SetName(L"Grandchild");
  owner->Free();
  EXPECT_EQ(gLog.front(), L"Owner:dtor:destroying");
  for (const auto& line : gLog) {
    if (line.find(L":dtor:") != std::wstring::npos) {
      EXPECT_NE(line.find(L"destroying"), std::wstring::npos) << ToUtf8(line);
    }
  }
}

TEST_F(Components, NoObjectOutlivesItsOwner) {
  int before = TObject::AliveCount();
  auto* owner = new TProbe(nullptr);
  for (int i = 0; i < 10; ++i) new TProbe(owner);
  EXPECT_EQ(TObject::AliveCount(), before + 11);
  owner->Free();
  EXPECT_EQ(TObject::AliveCount(), before);
}

class TNamedItem : public TCollectionItem {
  KA_CLASS(TNamedItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  int Value = 0;
  void Assign(TPersistent* Source) override {
    if (auto* s = dynamic_cast<TNamedItem*>(Source)) {
      Value = s->Value;
      return;
    }
    inherited::Assign(Source);
  }
};

class TCountingCollection : public TCollection {
 public:
  TCountingCollection() : TCollection([](TCollection* c) { return new TNamedItem(c); }) {}
  int Updates = 0;

 protected:
  void Update(TCollectionItem*) override { ++Updates; }
};

TEST_F(Components, CollectionAddInsertDeleteAssignAndUpdateBatching) {
  TCountingCollection c;
  static_cast<TNamedItem*>(c.Add())->Value = 1;
  static_cast<TNamedItem*>(c.Add())->Value = 3;
  static_cast<TNamedItem*>(c.Insert(1))->Value = 2;
  ASSERT_EQ(c.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(static_cast<TNamedItem*>(c.Items(i))->Value, i + 1);
  EXPECT_EQ(c.Items(2)->Index(), 2);
  EXPECT_THROW(c.Items(3), EListError);
  try {
    c.Items(-1);
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (-1)");
  }

  c.Updates = 0;
  c.BeginUpdate();
  c.Delete(0);
  c.Add();
  EXPECT_EQ(c.Updates, 0);
  c.EndUpdate();
  EXPECT_EQ(c.Updates, 1);

  TCountingCollection copy;
  copy.Assign(&c);
  ASSERT_EQ(copy.Count(), 3);
  EXPECT_EQ(static_cast<TNamedItem*>(copy.Items(0))->Value, 2);

  TProbe notAnItem(nullptr);
  try {
    c.Items(0)->Assign(&notAnItem);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"Cannot assign a TProbe to a TNamedItem");
  }
}

}  // namespace

namespace {

// The two rounding rules sizes go through, and the set type flags are kept in.
TEST(Types, RoundHalvesToEvenAndMulDivHalvesAwayFromZero) {
  struct Case {
    double Value;
    int Rounded;
  };
  for (Case c : {Case{0.5, 0}, Case{1.5, 2}, Case{2.5, 2}, Case{3.5, 4}, Case{-0.5, 0}, Case{-1.5, -2},
                 Case{-2.5, -2}, Case{2.4999, 2}, Case{2.5001, 3}, Case{1.25 * 700, 875}, Case{-3.7, -4}})
    EXPECT_EQ(Round(c.Value), c.Rounded) << c.Value;
  struct MulDivCase {
    int A, B, C, Result;
  };
  for (MulDivCase c : {MulDivCase{33, 144, 96, 50}, MulDivCase{3, 144, 96, 5}, MulDivCase{-3, 144, 96, -5},
                       MulDivCase{1, 1, 2, 1}, MulDivCase{501, 3, 2, 752}, MulDivCase{10, 1, 0, -1}})
    EXPECT_EQ(::MulDiv(c.A, c.B, c.C), c.Result) << c.A << "*" << c.B << "/" << c.C;
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
}

enum TTestFlag { tfA, tfB, tfC };

TEST(Types, SetsIncludeExcludeAndCombine) {
  TSet<TTestFlag> s{tfA, tfC};
  EXPECT_TRUE(s.Contains(tfA));
  EXPECT_FALSE(s.Contains(tfB));
  s.Include(tfB).Exclude(tfA);
  EXPECT_EQ(s, (TSet<TTestFlag>{tfB, tfC}));
  EXPECT_EQ(s + TSet<TTestFlag>(tfA), (TSet<TTestFlag>{tfA, tfB, tfC}));
  EXPECT_EQ(s - TSet<TTestFlag>(tfB), TSet<TTestFlag>(tfC));
  EXPECT_EQ(s * (TSet<TTestFlag>{tfA, tfC}), TSet<TTestFlag>(tfC));
  EXPECT_TRUE(TSet<TTestFlag>().Empty());
  TColor c;
  EXPECT_TRUE(IdentToColor(L"clbtnface", c));
  EXPECT_EQ(c, clBtnFace);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  EXPECT_EQ(static_cast<COLORREF>(ColorToRGB(clBtnFace)), ::GetSysColor(COLOR_BTNFACE));
}

}  // namespace
