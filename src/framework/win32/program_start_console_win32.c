/* The entry point of a shipped console program (dialkit-check): main is handed the arguments as
 * the system's C runtime splits the command line, wildcards not expanded. */
#include <stdlib.h>

#include "framework/win32/program_start_win32.h"

/* The runtime's start-up information is one int: the mode of malloc's new handler (0, none). */
int __cdecl __getmainargs(int* argc, char*** argv, char*** environment, int wildcards,
                          int* startupInfo);
int main(int argc, char** argv);

int mainCRTStartup(void) {
  StartProgram(kConsoleProgram);
  int argc = 0;
  char** argv = NULL;
  char** environment = NULL;
  int newHandlerMode = 0;
  __getmainargs(&argc, &argv, &environment, 0, &newHandlerMode);
  exit(main(argc, argv));
}
