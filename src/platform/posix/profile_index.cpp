#include "platform/posix/profile_index.h"

#include <utility>

#include "framework/text.h"

namespace {

using CKeySlot = CProfileIndex::CKeySlot;

constexpr size_t kFirstKeySlots = 16;

// FNV-1a over the name as names compare: letter case folded.
uint32_t HashName(std::string_view name) {
  uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash = (hash ^ static_cast<unsigned char>(FoldLetterCase(c))) * 16777619u;
  }
  return hash;
}

// The slot that holds the key named `name`, or the free slot where it would go.
size_t Probe(const std::vector<CKeySlot>& slots, std::string_view name, uint32_t hash) {
  const size_t mask = slots.size() - 1;
  size_t i = hash & mask;
  while (slots[i].used && (slots[i].hash != hash || !SameProfileName(slots[i].name, name))) {
    i = (i + 1) & mask;
  }
  return i;
}

void Grow(std::vector<CKeySlot>& slots) {
  std::vector<CKeySlot> grown(slots.size() * 2);
  const size_t mask = grown.size() - 1;
  for (const CKeySlot& slot : slots) {
    if (slot.used) {
      size_t i = slot.hash & mask;
      while (grown[i].used) {
        i = (i + 1) & mask;
      }
      grown[i] = slot;
    }
  }
  slots = std::move(grown);
}

CKeySlot SlotOf(const CProfileLine& line, uint32_t hash) {
  return {line.name, line.value, hash, true, line.hasValue};
}

}  // namespace

const CProfileIndex::CSection& CProfileIndex::FindSection(std::string_view name) {
  // Reads come in runs over one section: the one found last is tried first.
  if (!sections_.empty() && SameProfileName(sections_[last_].name, name)) {
    return sections_[last_];
  }
  for (const CSection& section : sections_) {
    if (SameProfileName(section.name, name)) {
      last_ = static_cast<size_t>(&section - sections_.data());
      return section;
    }
  }
  if (sections_.size() == kMostSections) {
    sections_.erase(sections_.begin());
  }
  CSection& section = sections_.emplace_back();
  last_ = sections_.size() - 1;
  section.name = name;
  const std::string_view bytes = bytes_;
  section.begin = FirstProfileLine(bytes);
  section.found = name.empty();
  CProfileLineReader reader(bytes, section.begin);
  for (CProfileLine header; !section.found && reader.NextHeader(header);) {
    if (SameProfileName(header.name, name)) {
      section.found = true;
      section.begin = header.end;
    }
  }
  if (section.found) {
    IndexKeys(section);
  }
  return section;
}

void CProfileIndex::IndexKeys(CSection& section) const {
  const std::string_view bytes = bytes_;
  section.slots.assign(kFirstKeySlots, {});
  section.end = bytes.size();
  section.unindexed = SIZE_MAX;
  size_t keys = 0;
  CProfileLineReader reader(bytes, section.begin);
  for (CProfileLine line; reader.Next(line);) {
    if (line.kind == CProfileLine::kSection) {
      section.end = line.begin;
      break;
    }
    if (line.kind != CProfileLine::kKey || section.unindexed != SIZE_MAX) {
      continue;
    }
    const uint32_t hash = HashName(line.name);
    size_t slot = Probe(section.slots, line.name, hash);
    if (section.slots[slot].used) {
      continue;  // a later key of a name already found
    }
    if (2 * (keys + 1) > section.slots.size()) {
      if (section.slots.size() == kMostKeySlots) {
        section.unindexed = line.begin;
        continue;
      }
      Grow(section.slots);
      slot = Probe(section.slots, line.name, hash);
    }
    section.slots[slot] = SlotOf(line, hash);
    ++keys;
  }
  if (section.unindexed == SIZE_MAX) {
    section.unindexed = section.end;
  }
}

const CKeySlot* CProfileIndex::FindKey(const CSection& section, std::string_view name) {
  if (!section.found) {
    return nullptr;
  }
  const uint32_t hash = HashName(name);
  const CKeySlot& slot = section.slots[Probe(section.slots, name, hash)];
  if (slot.used) {
    return &slot;
  }
  // Past the slots' capacity: the first key of the name among the lines the slots lack. Keys
  // the file drops have empty names, so an earlier key of the empty name is always found first.
  CProfileLineReader rest(Bytes().substr(0, section.end), section.unindexed);
  for (CProfileLine line; rest.Next(line);) {
    if (line.kind == CProfileLine::kKey && SameProfileName(line.name, name)) {
      found_ = SlotOf(line, hash);
      return &found_;
    }
  }
  return nullptr;
}
