// The record arrays that the device and entry lists hand out: single blocks from the C runtime
// heap, zero-filled, records back to back, released by whoever receives them with free.
//
// The allocation is a seam, so that tests can make any one allocation fail and check that the
// lists answer 8 and leak nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform_types.h"

// A zero-filled block of `size` bytes that free releases, or null.
using RecordArrayAllocation = void* (*)(size_t size);

// Allocates a record array of `size` bytes, never less than one record of `recordSize`, since
// the lists write the first record's size field before they ask the service. Returns null when
// memory runs out; `*size` is raised to what was allocated.
void* AllocateRecordArray(DWORD* size, size_t recordSize);

// Puts `allocation` in place (null: calloc again) and returns the one it replaces. Tests only.
RecordArrayAllocation ReplaceRecordArrayAllocation(RecordArrayAllocation allocation);

// How many of the `count` records that the service reports really lie in a buffer of
// `bufferSize` bytes: a list is never taken as longer than its buffer, whatever the service says.
uint32_t RecordsInBuffer(DWORD count, size_t bufferSize, size_t recordSize);
