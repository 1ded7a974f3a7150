/* The entry point of a shipped GUI program (the tool). WinMain is handed what the compiler
 * runtime's start-up handed it: the command line with the program's name and the blanks after it
 * taken off. */
#include <windows.h>

#include <stdlib.h>

#include "framework/win32/program_start_win32.h"

/* The program's name ends at the first blank or tab outside double quotes: the system quotes a
 * path with blanks in it ("C:\Program Files\...\dialkit.exe"). */
static char* ArgumentsOf(char* commandLine) {
  char* at = commandLine;
  for (int quoted = 0; *at != '\0' && (quoted || (*at != ' ' && *at != '\t')); ++at) {
    quoted ^= *at == '"';
  }
  while (*at == ' ' || *at == '\t') {
    ++at;
  }
  return at;
}

int WinMainCRTStartup(void) {
  StartProgram(kGuiProgram);
  exit(WinMain(GetModuleHandleA(NULL), NULL, ArgumentsOf(GetCommandLineA()), SW_SHOWDEFAULT));
}
