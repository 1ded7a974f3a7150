// dialkit-check: a console program on Windows, a plain command on POSIX (see check_program.h).
#include <cstdio>

#include "check_program.h"

int main(int argc, char** argv) {
  return RunCheckProgram(argc, argv, stdout, stderr);
}
