// The handle map and the pointer queue: where associations go, what a lookup finds, and that an
// empty container holds no memory and a refilled one recycles its nodes.
#include "framework/handle_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/pointer_queue.h"

namespace {

using Key = CHandleMap::Key;

void* Value(uintptr_t n) {
  return reinterpret_cast<void*>(n);
}

std::vector<Key> KeysInVisitOrder(const CHandleMap& map) {
  std::vector<Key> keys;
  map.ForEach([&](Key key, void*) { keys.push_back(key); });
  return keys;
}

TEST(HandleMap, BucketsByKeyAboveItsLowFourBitsNewestAtTheHead) {
  // 0x0, 0x5 and 0x110 share bucket 0 ((0x110 >> 4) % 17 == 0); 0x10 and 0x120 bucket 1.
  // Handles are pointer-sized: on 64-bit builds a key that meets 0x10 in its low 32 bits is
  // another key.
  const Key high = sizeof(Key) > 4 ? static_cast<Key>(uint64_t{1} << 32 | 0x10) : 0x1010;
  CHandleMap map;
  for (const Key key : std::initializer_list<Key>{high, 0x10, 0x20, 0x0, 0x120, 0x5, 0x110}) {
    ASSERT_TRUE(map.SetAt(key, Value(key + 1)));
  }
  void* found = nullptr;
  for (const Key key : {0x10, 0x20, 0x0, 0x120, 0x5, 0x110}) {
    EXPECT_TRUE(map.Lookup(key, &found) && found == Value(key + 1)) << key;
  }
  EXPECT_FALSE(map.Lookup(0x30, &found));
  EXPECT_FALSE(map.RemoveKey(0x30));
  // Unlinking from the middle of a chain keeps the rest of it.
  ASSERT_TRUE(map.RemoveKey(0x5, &found));
  EXPECT_EQ(found, Value(0x6));
  ASSERT_TRUE(map.RemoveKey(high));
  EXPECT_EQ(KeysInVisitOrder(map), (std::vector<Key>{0x110, 0x0, 0x120, 0x10, 0x20}));
}

TEST(HandleMap, HoldsMemoryOnlyWhileItHoldsAssociationsAndRecyclesThem) {
  CHandleMap map;
  EXPECT_FALSE(map.HoldsMemory());
  for (Key key = 1; key <= 11; ++key) {
    ASSERT_TRUE(map.SetAt(key << 4, Value(key)));
  }
  EXPECT_EQ(map.AssociationBlocks(), 2u);  // ten to a block
  ASSERT_TRUE(map.RemoveKey(3 << 4));
  ASSERT_TRUE(map.SetAt(12 << 4, Value(12)));
  EXPECT_EQ(map.AssociationBlocks(), 2u);  // the freed association was used again
  for (Key key = 1; key <= 12; ++key) {
    map.RemoveKey(key << 4);
  }
  EXPECT_EQ(map.Count(), 0u);
  EXPECT_FALSE(map.HoldsMemory());
  ASSERT_TRUE(map.SetAt(0x10, Value(1)));
  EXPECT_TRUE(map.HoldsMemory());
  EXPECT_EQ(map.AssociationBlocks(), 1u);
}

// Its nodes come from the same blocks as the map's associations (recycling is checked there).
TEST(PointerQueue, HandsOutOldestFirstAcrossBlocksAndFreesThemWhenEmpty) {
  CPointerQueue queue;
  for (uintptr_t n = 1; n <= 25; ++n) {
    ASSERT_TRUE(queue.Append(Value(n)));
  }
  EXPECT_TRUE(queue.HoldsMemory());
  for (uintptr_t n = 1; n <= 25; ++n) {
    ASSERT_EQ(queue.TakeOldest(), Value(n));
  }
  EXPECT_EQ(queue.TakeOldest(), nullptr);
  EXPECT_TRUE(queue.IsEmpty());
  EXPECT_FALSE(queue.HoldsMemory());
}

}  // namespace
