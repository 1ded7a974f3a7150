// The pointer queue: a singly linked list with a tail pointer for appending.
#include "base/pointer_queue.h"

bool CPointerQueue::Append(void* value) {
  Node* node = nodes_.Take();
  if (node == nullptr) {
    return false;
  }
  node->value = value;
  node->next = nullptr;
  if (tail_ != nullptr) {
    tail_->next = node;
  } else {
    head_ = node;
  }
  tail_ = node;
  return true;
}

void* CPointerQueue::TakeOldest() {
  Node* node = head_;
  if (node == nullptr) {
    return nullptr;
  }
  void* value = node->value;
  head_ = node->next;
  if (head_ == nullptr) {
    tail_ = nullptr;
    nodes_.ReleaseAll();
  } else {
    nodes_.Give(node);
  }
  return value;
}
