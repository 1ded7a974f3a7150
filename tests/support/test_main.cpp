// The main function of every test program.
#include <gtest/gtest.h>

#include "support/test_environment.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  test::IsolateSystemForTestProgram();
  return RUN_ALL_TESTS();
}
