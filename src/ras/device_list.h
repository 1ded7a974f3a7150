// The list of installed remote-access devices (modems, VPN adapters and the like), sorted by
// device type and then by device name, as device assignment picks from it and the selection
// dialog shows it. The phone book's entry list is the binding's own operation EnumEntries
// (ras/ras_library.h).
#pragma once

#include <cstdint>

#include "platform/ras_service.h"
#include "ras/ras_library.h"

// -1, 0 or +1 as `first` sorts before, with or after `second`: by device type, then by device
// name, each compared byte by byte as unsigned values within its field, so letter case counts
// (upper case first) and a text that begins the other sorts first.
int CompareDeviceInfo(const RASDEVINFOA* first, const RASDEVINFOA* second);

// The installed devices of the binding object g_rasLibrary. `*list` receives an array of
// `*count` records from the C runtime heap that the caller releases with free; it is handed out
// with the service's result, whatever that is, so the caller goes by the count. 8 when memory
// runs out: then the list is null and the count 0.
uint32_t GetSortedDeviceList(RASDEVINFOA** list, uint32_t* count);

// The same over any binding.
uint32_t GetSortedDeviceList(CRasApi& ras, RASDEVINFOA** list, uint32_t* count);
