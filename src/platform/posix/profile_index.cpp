// Finding sections and keys in a profile file's bytes without walking the file on every read.
#include "platform/posix/profile_index.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "base/text.h"

namespace {

using CKeySlot = CProfileIndex::CKeySlot;

// Room for the keys of an entry description without growing: a section of up to 32 keys.
constexpr size_t kFirstKeySlots = 64;

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

// The two bits of a name's hash in a filter of a power of two bits.
size_t FilterBit(uint32_t hash, size_t bits, int probe) {
  return (probe == 0 ? hash : hash * 2654435761u) & (bits - 1);
}

bool MayHold(const std::vector<uint64_t>& filter, uint32_t hash) {
  const size_t bits = filter.size() * 64;
  for (int probe = 0; probe < 2; ++probe) {
    const size_t bit = FilterBit(hash, bits, probe);
    if ((filter[bit / 64] & (uint64_t{1} << (bit % 64))) == 0) {
      return false;
    }
  }
  return true;
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
  std::vector<uint32_t> beyond;  // the hashes of the names past the slots
  CProfileLineReader reader(bytes, section.begin);
  for (CProfileLine line; reader.Next(line);) {
    if (line.kind == CProfileLine::kSection) {
      section.end = line.begin;
      break;
    }
    if (line.kind != CProfileLine::kKey) {
      continue;
    }
    const uint32_t hash = HashName(line.name);
    if (section.unindexed != SIZE_MAX) {
      beyond.push_back(hash);
      continue;
    }
    size_t slot = Probe(section.slots, line.name, hash);
    if (section.slots[slot].used) {
      continue;  // a later key of a name already found
    }
    if (2 * (keys + 1) > section.slots.size()) {
      if (section.slots.size() == kMostKeySlots) {
        section.unindexed = line.begin;
        beyond.push_back(hash);
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
  // Sixteen bits for each name, two of them set: about one lookup in seventy of a name that is
  // not there still walks.
  section.beyond.assign(
      beyond.empty() ? 0 : std::bit_ceil(std::max<size_t>(beyond.size() * 16, 64)) / 64, 0);
  for (const uint32_t hash : beyond) {
    for (int probe = 0; probe < 2; ++probe) {
      const size_t bit = FilterBit(hash, section.beyond.size() * 64, probe);
      section.beyond[bit / 64] |= uint64_t{1} << (bit % 64);
    }
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
  if (section.beyond.empty() || !MayHold(section.beyond, hash)) {
    return nullptr;
  }
  CProfileLineReader rest(Bytes().substr(0, section.end), section.unindexed);
  for (CProfileLine line; rest.Next(line);) {
    if (line.kind == CProfileLine::kKey && SameProfileName(line.name, name)) {
      found_ = SlotOf(line, hash);
      return &found_;
    }
  }
  return nullptr;
}
