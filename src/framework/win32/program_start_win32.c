/* The shipped Windows programs' own start-up, which a 486 can run on every Windows they are for. */
#include "framework/win32/program_start_win32.h"

#include <stdlib.h>

typedef void (*Function)(void);

/* The lists of functions the linker gathers from every object's .ctors and .dtors sections (the
 * constructors and destructors of objects with static storage): the first entry is -1, the last
 * null. The compiler asks for its constructors to be run from the last to the first. */
extern Function __CTOR_LIST__[];
extern Function __DTOR_LIST__[];

void __cdecl __set_app_type(int kind);
void __main(void);

static int g_constructed = 0;

static void RunDestructorList(void) {
  for (Function* entry = __DTOR_LIST__ + 1; *entry != NULL; ++entry) {
    (*entry)();
  }
}

/* The compiler calls this from the top of main(), a Windows target having no other place for the
 * constructors. StartProgram calls it before main() or the tool's WinMain is reached, so that the
 * call from main() finds everything constructed. */
void __main(void) {
  if (g_constructed) {
    return;
  }
  g_constructed = 1;
  Function* last = __CTOR_LIST__ + 1;
  while (*last != NULL) {
    ++last;
  }
  while (--last != __CTOR_LIST__) {
    (*last)();
  }
  atexit(RunDestructorList);
}

/* The compiler registers the destructor of each object with static storage here as the object is
 * constructed; exit() calls them, the last registered first, before it flushes the streams. The
 * system's runtime keeps the list: it calls each function for its effect and reads no result. */
int __cdecl atexit(Function function) {
  return _onexit((_onexit_t)function) != NULL ? 0 : -1;
}

void StartProgram(enum ProgramKind kind) {
  /* First thing at start, before any constructor runs: what must hold for the whole process goes
   * here. */
  __set_app_type(kind);
  __main();
}
