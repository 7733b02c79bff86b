// While a TFreedMemoryPoison lives, memory given back through operator delete is filled with
// 0xFE bytes and held back from reuse for a while, so that a late timer tick or message that
// reaches a freed object reads a poisoned virtual table and crashes at once, instead of
// finding the old contents still in place (or a new object's) and going on quietly.
// The replacement operators are in FreedMemoryPoison.cpp; outside a poison scope they are
// plain malloc and free.
#pragma once

class TFreedMemoryPoison {
 public:
  TFreedMemoryPoison();
  ~TFreedMemoryPoison();  // frees what it held back
  TFreedMemoryPoison(const TFreedMemoryPoison&) = delete;
  TFreedMemoryPoison& operator=(const TFreedMemoryPoison&) = delete;
  // Blocks freed while poisoning was on that were poisoned (for a check that it worked).
  static long Poisoned();
};
