// A hash map from a pointer-sized unsigned key (a handle) to a pointer, for tables that are
// empty most of the time: an empty map holds no memory at all. The bucket table is allocated
// when the first association goes in and released, with every association, when the last one
// goes out. Associations come ten to a block and are recycled through a free list.
//
// The map never owns what its values point to: whoever removes a value, or empties the map,
// decides what becomes of it. It does no locking of its own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/node_blocks.h"

class CHandleMap {
 public:
  using Key = uintptr_t;

  static constexpr size_t kBucketCount = 17;
  static constexpr size_t kAssociationsPerBlock = 10;

  // Handles tend to be multiples of 16, so the low four bits say nothing about a key.
  static constexpr size_t BucketOf(Key key) { return (key >> 4) % kBucketCount; }

  constexpr CHandleMap() = default;
  ~CHandleMap() { RemoveAll(); }
  CHandleMap(const CHandleMap&) = delete;
  CHandleMap& operator=(const CHandleMap&) = delete;

  // True when `key` is in the map; its value goes to `*value`.
  bool Lookup(Key key, void** value) const;
  // Associates `value` with `key`, replacing what the key held; the value it held goes to
  // `*replaced` (null when the key is new). False when memory runs out: the map is unchanged.
  bool SetAt(Key key, void* value, void** replaced = nullptr);
  // False when `key` is not in the map. The value it held goes to `*removed`.
  bool RemoveKey(Key key, void** removed = nullptr);
  // Forgets every association and frees all memory; the values are left as they are.
  void RemoveAll();

  size_t Count() const { return count_; }
  // False once the last association has gone: no bucket table, no association block.
  bool HoldsMemory() const { return buckets_ != nullptr || associations_.BlockCount() != 0; }
  size_t AssociationBlocks() const { return associations_.BlockCount(); }

  // Calls visit(key, value) for every association: the buckets in order, each chain from its
  // head, so the newest association of a bucket comes first. `visit` must not change the map.
  template <typename Visit>
  void ForEach(Visit visit) const {
    if (buckets_ == nullptr) {
      return;
    }
    for (size_t bucket = 0; bucket < kBucketCount; ++bucket) {
      for (const Association* a = buckets_[bucket]; a != nullptr; a = a->next) {
        visit(a->key, a->value);
      }
    }
  }

 private:
  struct Association {
    Association* next;
    uint32_t bucket;
    Key key;
    void* value;
  };

  Association* Find(Key key) const;

  Association** buckets_ = nullptr;
  size_t count_ = 0;
  CNodeBlocks<Association, kAssociationsPerBlock> associations_;
};
