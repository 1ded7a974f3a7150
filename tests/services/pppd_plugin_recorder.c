/* A pppd plugin that does nothing but record that it was loaded: its constructor runs as pppd
   loads it, before pppd looks for anything in it, and makes the file that DIALKIT_PLUGIN_RECORD
   names. The tests judge with it whether a peer file made pppd load a plugin. */
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

__attribute__((constructor)) static void RecordLoading(void) {
  const char* record = getenv("DIALKIT_PLUGIN_RECORD");
  if (record != NULL) {
    close(creat(record, 0600));
  }
}
