// The store of an entry with later keys, layout by layout.
#include "app/later_store.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/system_version.h"
#include "ras/ras_library.h"

namespace {

// The service's answer about `entryName` ("": a new entry's default) at `layoutSize` bytes. The
// answer may need room for alternate numbers after the record: the buffer grows once to it.
uint32_t AskAtLayout(const char* entryName, DWORD layoutSize, LongEntryRecord* record) {
  DWORD size = layoutSize;
  std::vector<RASENTRYA> buffer;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD room = std::max(size, layoutSize);
    buffer.assign(room / sizeof(RASENTRYA) + 1, RASENTRYA{});
    buffer[0].dwSize = layoutSize;
    size = static_cast<DWORD>(buffer.size() * sizeof(RASENTRYA));
    const uint32_t answer =
        g_rasLibrary.GetEntryProperties(entryName, buffer.data(), &size, nullptr, nullptr);
    if (answer == 0) {
      *record = {};
      std::memcpy(record, buffer.data(), layoutSize);
    }
    if (answer != ERROR_BUFFER_TOO_SMALL) {
      return answer;
    }
  }
  return ERROR_BUFFER_TOO_SMALL;
}

const EntryLayout& LayoutOf(const char* windows) {
  for (const EntryLayout& layout : kEntryLayouts) {
    if (std::strcmp(layout.windows, windows) == 0) {
      return layout;
    }
  }
  return kEntryLayouts[0];
}

std::string Needs(const RecordField& key, const LongEntryRecord& merged, const char* windows) {
  std::string value = key.kind == FieldKind::kFlag ? "1" : "";
  for (const BitName& name : key.bitNames) {
    value = key.kind == FieldKind::kChoice && name.bit == DwordOf(merged, key) ? name.name : value;
  }
  return std::string(key.name) + (value.empty() ? "" : "=" + value) + " needs " + windows;
}

}  // namespace

CLongEntry ReadLongEntry(const char* entryName) {
  CLongEntry entry;
  for (const EntryLayout& layout : kEntryLayouts) {
    const uint32_t answer = AskAtLayout(entryName, layout.size, &entry.record);
    if (answer == ERROR_INVALID_SIZE && layout.size != kEntryRecordSize) {
      continue;
    }
    entry.layout = &layout;
    entry.answer = answer;
    if (answer != 0 && AskAtLayout("", layout.size, &entry.record) != 0) {
      entry.record = {};
    }
    break;
  }
  return entry;
}

LongEntryRecord MergedEntry(const CLongEntry& known, const RASENTRYA& base, const CLaterKeys& keys,
                            bool vpn) {
  LongEntryRecord merged = known.record;
  merged.base = base;
  // A new entry's default is a phone entry's: its kind follows its device.
  if (merged.dwType == 0 || known.Stored() == nullptr) {
    merged.dwType = vpn ? RASET_Vpn : RASET_Phone;
  }
  ApplyLaterKeys(keys, &merged);
  return merged;
}

std::string LaterKeyNotCarried(const CLaterKeys& keys, const LongEntryRecord& merged,
                               const EntryLayout& layout) {
  if (keys.unknown != nullptr) {
    return std::string(keys.unknown->name) + "=" + keys.unknownValue + " is no value of the key";
  }
  const char* windows = layout.windows;
  for (const RecordField& key : kLaterRecordFields) {
    const EntryLayout& needed = FirstLayoutHolding(key.offset, key.width);
    if (keys.IsSet(key) && needed.size > layout.size) {
      return Needs(key, merged, needed.windows) + "; this Windows takes the record of " + windows;
    }
  }
  const RecordField& strategy = FieldNamed("dwVpnStrategy");
  const DWORD tunnel = merged.dwVpnStrategy;
  const DWORD vista = LayoutOf("Windows Vista").size;
  // SSTP came with Vista's first service pack, whose record is Vista's.
  if (keys.IsSet(strategy) && (tunnel == VS_SstpOnly || tunnel == VS_SstpFirst) &&
      (layout.size < vista ||
       (layout.size == vista && !IsAtLeast(RunningSystemVersion(), 6, 0, 1)))) {
    return Needs(strategy, merged, "Windows Vista SP1") + "; this Windows is older";
  }
  if (keys.IsSet(strategy) && UsesIkev2(tunnel) && layout.size < LayoutOf("Windows 7").size) {
    return Needs(strategy, merged, "Windows 7") + "; this Windows takes the record of " + windows;
  }
  // The pre-shared key of IKEv2 came with Windows 8, whose record adds nothing the tool sets.
  const RecordField& preSharedKey = FieldNamed("dwfOptions2");
  if (keys.IsSet(preSharedKey) && UsesIkev2(tunnel) &&
      (merged.dwfOptions2 & RASEO2_UsePreSharedKeyForIkev2Initiator) != 0 &&
      !IsAtLeast(RunningSystemVersion(), 6, 2)) {
    return Needs(preSharedKey, merged, "Windows 8") +
           " with an IKEv2 strategy; this Windows is older";
  }
  return {};
}

uint32_t StoreLongEntry(const char* entryName, const CLaterKeys& keys, LongEntryRecord merged,
                        const CLongEntry& known, std::string* notCarried) {
  uint32_t code = ERROR_INVALID_SIZE;
  for (const EntryLayout* layout = known.layout; code == ERROR_INVALID_SIZE; ++layout) {
    *notCarried = LaterKeyNotCarried(keys, merged, *layout);
    if (!notCarried->empty()) {
      return 0;
    }
    merged.base.dwSize = layout->size;
    code = g_rasLibrary.SetEntryProperties(entryName, &merged.base, layout->size, nullptr, 0);
    if (layout->size == kEntryRecordSize) {
      break;
    }
  }
  return code;
}
