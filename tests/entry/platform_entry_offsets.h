// The platform header's entry record, as numbers that a file of the tool's own may compare.
#pragma once

#include <cstddef>

struct PlatformOffset {
  const char* member;
  size_t offset;
  size_t width;
};

extern const PlatformOffset kPlatformEntryOffsets[];
extern const size_t kPlatformEntryOffsetCount;
extern const size_t kPlatformEntrySize;
extern const unsigned long kPlatformPreSharedKeyBit;
extern const unsigned long kPlatformStrategies[5];
extern const unsigned long kPlatformEncryptions[4];
