// The sorted device list: ask the service with room for one device, and once more with the room
// it asked for.
#include "ras/device_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/result_codes.h"
#include "ras/record_array.h"

namespace {

// strncmp compares bytes as unsigned values and stops at the end of both texts or at the
// field's width, so a field without its terminator is still read within its bounds.
int CompareField(const char* first, const char* second, size_t width) {
  const int difference = std::strncmp(first, second, width);
  return (difference > 0) - (difference < 0);
}

}  // namespace

int CompareDeviceInfo(const RASDEVINFOA* first, const RASDEVINFOA* second) {
  const int byType =
      CompareField(first->szDeviceType, second->szDeviceType, sizeof first->szDeviceType);
  if (byType != 0) {
    return byType;
  }
  return CompareField(first->szDeviceName, second->szDeviceName, sizeof first->szDeviceName);
}

uint32_t GetSortedDeviceList(RASDEVINFOA** list, uint32_t* count) {
  return GetSortedDeviceList(g_rasLibrary, list, count);
}

uint32_t GetSortedDeviceList(CRasApi& ras, RASDEVINFOA** list, uint32_t* count) {
  *list = nullptr;
  *count = 0;
  DWORD size = sizeof(RASDEVINFOA);
  DWORD allocated = size;
  auto* devices = static_cast<RASDEVINFOA*>(AllocateRecordArray(&allocated, sizeof(RASDEVINFOA)));
  if (devices == nullptr) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  DWORD found = 0;
  uint32_t result = ras.EnumDevices(devices, &size, &found);
  if (result == ERROR_BUFFER_TOO_SMALL) {
    std::free(devices);
    allocated = size;
    devices = static_cast<RASDEVINFOA*>(AllocateRecordArray(&allocated, sizeof(RASDEVINFOA)));
    if (devices == nullptr) {
      return ERROR_NOT_ENOUGH_MEMORY;
    }
    size = allocated;
    result = ras.EnumDevices(devices, &size, &found);
  }
  const uint32_t records = RecordsInBuffer(found, allocated, sizeof(RASDEVINFOA));
  std::sort(devices, devices + records, [](const RASDEVINFOA& first, const RASDEVINFOA& second) {
    return CompareDeviceInfo(&first, &second) < 0;
  });
  *list = devices;
  *count = records;
  return result;
}
