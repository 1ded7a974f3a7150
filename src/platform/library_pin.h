// Keeping a library in the process for good, for a library whose threads may still run its code
// after its last user has released it (the services' dial threads).
#pragma once

// Takes a reference that is never released to the library this code is linked into (a static
// library's code lies in the module that links it), found by its own address, whatever its path:
// so no search can take another file of the same name instead.
void KeepThisLibraryLoaded();
