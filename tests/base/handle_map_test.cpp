// The handle map: what a lookup finds once keys share chains and some have gone, that an empty
// map holds no memory, and that freed nodes are used again.
#include "base/handle_map.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using Key = CHandleMap::Key;

void* Value(uintptr_t n) {
  return reinterpret_cast<void*>(n + 1);
}

// Handles are multiples of 16, and 60 of them must share chains. Every third goes, from the head,
// the middle and the end of chains alike. On 64-bit builds a key that meets another in its low 32
// bits is another key.
TEST(HandleMap, FindsEveryKeyItHoldsAndNoneItGaveUp) {
  constexpr Key kHigh = static_cast<Key>(uint64_t{1} << (sizeof(Key) > 4 ? 32 : 0));
  CHandleMap map;
  for (Key key = 0; key < 60 * 16; key += 16) {
    ASSERT_TRUE(map.SetAt(key, Value(key)));
    ASSERT_TRUE(sizeof(Key) == 4 || map.SetAt(kHigh | key, Value(kHigh | key)));
  }
  void* found = nullptr;
  for (Key key = 0; key < 60 * 16; key += 48) {
    ASSERT_TRUE(map.RemoveKey(key, &found));
    EXPECT_EQ(found, Value(key));
  }
  for (Key key = 0; key < 61 * 16; key += 16) {
    const bool held = key % 48 != 0 && key < 60 * 16;
    EXPECT_EQ(map.Lookup(key, &found), held) << key;
    EXPECT_TRUE(!held || found == Value(key)) << key;
  }
  EXPECT_FALSE(map.RemoveKey(48));
  // A key already there changes its value; a key taken out and put back reuses its association.
  const size_t blocks = map.AssociationBlocks();
  ASSERT_TRUE(map.SetAt(16, Value(7), &found));
  EXPECT_EQ(found, Value(16));
  ASSERT_TRUE(map.SetAt(48, Value(48)));
  EXPECT_EQ(map.AssociationBlocks(), blocks);

  for (Key key = 0; key < 60 * 16; key += 16) {
    map.RemoveKey(key);
    map.RemoveKey(kHigh | key);
  }
  EXPECT_EQ(map.Count(), 0u);
  EXPECT_FALSE(map.HoldsMemory());
}

}  // namespace
