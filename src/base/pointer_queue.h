// A first-in first-out queue of pointers whose list nodes come ten to a block from a free list
// and are all given back once the queue is empty, so an empty queue holds no memory. The queue
// never owns what its pointers point to.
#pragma once

#include <cstddef>

#include "base/node_blocks.h"

class CPointerQueue {
 public:
  static constexpr size_t kNodesPerBlock = 10;

  constexpr CPointerQueue() = default;
  CPointerQueue(const CPointerQueue&) = delete;
  CPointerQueue& operator=(const CPointerQueue&) = delete;

  // Puts `value` at the tail. False when memory runs out: the queue is unchanged.
  bool Append(void* value);
  // Takes the value at the head; null when the queue is empty.
  void* TakeOldest();

  bool IsEmpty() const { return head_ == nullptr; }
  bool HoldsMemory() const { return nodes_.BlockCount() != 0; }

 private:
  struct Node {
    Node* next;
    void* value;
  };

  Node* head_ = nullptr;
  Node* tail_ = nullptr;
  CNodeBlocks<Node, kNodesPerBlock> nodes_;
};
