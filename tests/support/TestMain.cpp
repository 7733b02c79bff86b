// Entry of every test program: GoogleTest, plus a check that a program's tests leave no
// framework object alive behind them.
#include <gtest/gtest.h>

#include "framework/Classes.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
