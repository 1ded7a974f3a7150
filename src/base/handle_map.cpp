// The handle map: chains of associations hanging from a bucket table that exists only while the
// map holds something.
#include "base/handle_map.h"

CHandleMap::Association* CHandleMap::Find(Key key) const {
  if (buckets_ == nullptr) {
    return nullptr;
  }
  for (Association* a = buckets_[BucketOf(key)]; a != nullptr; a = a->next) {
    if (a->key == key) {
      return a;
    }
  }
  return nullptr;
}

bool CHandleMap::Lookup(Key key, void** value) const {
  const Association* found = Find(key);
  if (found == nullptr) {
    return false;
  }
  *value = found->value;
  return true;
}

bool CHandleMap::SetAt(Key key, void* value, void** replaced) {
  if (Association* found = Find(key)) {
    if (replaced != nullptr) {
      *replaced = found->value;
    }
    found->value = value;
    return true;
  }
  const bool tableIsNew = buckets_ == nullptr;
  if (tableIsNew) {
    Association** table = new (std::nothrow) Association* [kBucketCount] {};
    if (table == nullptr) {
      return false;
    }
    buckets_ = table;
  }
  Association* added = associations_.Take();
  if (added == nullptr) {
    if (tableIsNew) {
      RemoveAll();
    }
    return false;
  }
  const size_t bucket = BucketOf(key);
  added->bucket = static_cast<uint32_t>(bucket);
  added->key = key;
  added->value = value;
  added->next = buckets_[bucket];
  buckets_[bucket] = added;
  ++count_;
  if (replaced != nullptr) {
    *replaced = nullptr;
  }
  return true;
}

bool CHandleMap::RemoveKey(Key key, void** removed) {
  if (buckets_ == nullptr) {
    return false;
  }
  for (Association** link = &buckets_[BucketOf(key)]; *link != nullptr; link = &(*link)->next) {
    Association* found = *link;
    if (found->key != key) {
      continue;
    }
    if (removed != nullptr) {
      *removed = found->value;
    }
    *link = found->next;
    associations_.Give(found);
    if (--count_ == 0) {
      RemoveAll();
    }
    return true;
  }
  return false;
}

void CHandleMap::RemoveAll() {
  delete[] buckets_;
  buckets_ = nullptr;
  associations_.ReleaseAll();
  count_ = 0;
}
