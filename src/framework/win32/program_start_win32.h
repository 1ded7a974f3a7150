/* The start of a shipped Windows program, in place of the compiler runtime's start-up code (test
 * programs keep the compiler's). The system's C runtime (msvcrt.dll) sets itself up when it is
 * loaded; what is left for the program is little: say what kind of program it is, run the
 * constructors of its objects, and end through exit(), which runs their destructors and flushes
 * the standard streams. Leaving out the compiler runtime's start-up leaves out its run-time
 * relocation, its thread-local storage directory and callbacks, its exception filter and the
 * instructions it was compiled with: the 32-bit programs then hold only code compiled for the
 * 80486 that Windows 95, 98 and NT 4.0 run on (tools/check-instructions).
 *
 * The start-up is C: it calls main, which C++ does not allow. */
#pragma once

/* The kinds of program the C runtime knows: it shows its own fatal messages (an abort) on the
 * console of a console program and in a message box for a GUI program. */
enum ProgramKind { kConsoleProgram = 1, kGuiProgram = 2 };

/* Everything a shipped program does before its own code runs. Called first by the entry point,
 * once: the one place for what must hold before any code of the program's own, constructors
 * included. */
void StartProgram(enum ProgramKind kind);
