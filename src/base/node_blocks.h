// Nodes of a linked container, allocated a block at a time and handed out from a free list, so
// that a container which grows and shrinks by one node at a time rarely reaches the heap. The
// container returns nodes it no longer uses to the free list and, once it holds nothing, gives
// every block back at once.
//
// A node is a plain record whose first use of its `next` field is the free list's: Take hands
// out a node with every other field unset.
#pragma once

#include <cstddef>
#include <new>

template <typename Node, size_t kNodesPerBlock>
class CNodeBlocks {
 public:
  constexpr CNodeBlocks() = default;
  ~CNodeBlocks() { ReleaseAll(); }
  CNodeBlocks(const CNodeBlocks&) = delete;
  CNodeBlocks& operator=(const CNodeBlocks&) = delete;

  // A free node, or null when no block can be allocated.
  Node* Take() {
    if (free_ == nullptr) {
      Block* block = new (std::nothrow) Block;
      if (block == nullptr) {
        return nullptr;
      }
      block->next = blocks_;
      blocks_ = block;
      // Linked back to front, so the block's nodes are handed out in their order.
      for (size_t i = kNodesPerBlock; i-- > 0;) {
        block->nodes[i].next = free_;
        free_ = &block->nodes[i];
      }
    }
    Node* node = free_;
    free_ = node->next;
    return node;
  }

  void Give(Node* node) {
    node->next = free_;
    free_ = node;
  }

  // Frees every block: every node handed out is gone with it.
  void ReleaseAll() {
    while (blocks_ != nullptr) {
      Block* next = blocks_->next;
      delete blocks_;
      blocks_ = next;
    }
    free_ = nullptr;
  }

  size_t BlockCount() const {
    size_t count = 0;
    for (const Block* block = blocks_; block != nullptr; block = block->next) {
      ++count;
    }
    return count;
  }

 private:
  struct Block {
    Block* next;
    Node nodes[kNodesPerBlock];
  };

  Block* blocks_ = nullptr;
  Node* free_ = nullptr;
};
