// What the POSIX profile component keeps of a file between two reads: the file's bytes, and the
// sections that reads have asked for, each with its keys hashed by name. A run reads the same
// few keys of the same file again and again; with the index each line is taken apart about once
// however often the file is read, and a lookup finds its key without walking through the file.
// Answers are exactly those of CProfileText's lookups.
//
// Memory: besides the bytes, the index holds at most kMostSections sections (the one indexed
// first makes room for a new one), each with at most kMostKeySlots key slots of 40 bytes; keys
// of a section beyond what its slots hold are searched line by line, after a filter of two bytes
// for each of them has shown that the name may be among them (a lookup of a name that is not
// there, the common case in a long section, then seldom walks). So a file of any shape costs its
// own size, less than a megabyte, and at most its size again for the filters of long sections.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile_lines.h"

class CProfileIndex {
 public:
  static constexpr size_t kMostSections = 8;
  static constexpr size_t kMostKeySlots = 2048;

  // A key as lookups need it; name and value point into the bytes.
  struct CKeySlot {
    std::string_view name;
    std::string_view value;
    uint32_t hash;
    bool used;
    bool hasValue;
  };

  // The first section of a name in the file, as reads see it: its lines run from `begin` (past
  // its header) to `end` (the next header, or the end of the file).
  struct CSection {
    std::string name;  // as it was asked for
    bool found = false;
    size_t begin = 0;
    size_t end = 0;
    std::vector<CKeySlot> slots;   // the first key of each name; a power of two, at most half full
    size_t unindexed = 0;          // the first line whose key the slots may lack
    std::vector<uint64_t> beyond;  // a filter of the names of the keys past the slots
  };

  explicit CProfileIndex(std::string bytes) : bytes_(std::move(bytes)) {}
  CProfileIndex(const CProfileIndex&) = delete;
  CProfileIndex& operator=(const CProfileIndex&) = delete;

  std::string_view Bytes() const { return bytes_; }

  // The first section of this name; the empty name is the lines before the first header. Valid
  // until the next call.
  const CSection& FindSection(std::string_view name);
  // The first key of this name in `section`; null when there is none. Valid until the next call.
  const CKeySlot* FindKey(const CSection& section, std::string_view name);
  // The lines of `section`, in file order.
  CProfileLineReader Lines(const CSection& section) const {
    return CProfileLineReader(Bytes().substr(0, section.end), section.begin);
  }

 private:
  void IndexKeys(CSection& section) const;

  std::string bytes_;
  std::vector<CSection> sections_;
  size_t last_ = 0;      // the section found last
  CKeySlot found_ = {};  // a key found past the slots
};
