// The record arrays' allocation and the bound on their length.
#include "ras/record_array.h"

#include <algorithm>
#include <cstdlib>

namespace {

void* AllocateZeroed(size_t size) {
  return std::calloc(1, size);
}

RecordArrayAllocation g_allocation = AllocateZeroed;

}  // namespace

void* AllocateRecordArray(DWORD* size, size_t recordSize) {
  *size = std::max<DWORD>(*size, static_cast<DWORD>(recordSize));
  return g_allocation(*size);
}

RecordArrayAllocation ReplaceRecordArrayAllocation(RecordArrayAllocation allocation) {
  const RecordArrayAllocation previous = g_allocation;
  g_allocation = allocation != nullptr ? allocation : AllocateZeroed;
  return previous;
}

uint32_t RecordsInBuffer(DWORD count, size_t bufferSize, size_t recordSize) {
  return static_cast<uint32_t>(std::min<size_t>(count, bufferSize / recordSize));
}
