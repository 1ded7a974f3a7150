// Reading the later keys of an entry description and writing them over a service's record.
#include "entry/later_keys.h"

#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "platform/profile.h"

namespace {

// What a read gives for a key the section does not have: no value of a file can hold a line feed.
constexpr char kAbsent[] = "\n";

size_t IndexOf(const RecordField& key) {
  return static_cast<size_t>(&key - kLaterRecordFields.data());
}

bool ReadDecimal(const std::string& text, DWORD* value) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != text.npos) {
    return false;
  }
  *value = static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
  return true;
}

void PutDword(LongEntryRecord* record, const RecordField& key, DWORD value) {
  std::memcpy(reinterpret_cast<char*>(record) + key.offset, &value, sizeof value);
}

}  // namespace

bool CLaterKeys::Any() const {
  for (bool one : set) {
    if (one) {
      return true;
    }
  }
  return unknown != nullptr;
}

bool CLaterKeys::IsSet(const RecordField& key) const {
  return set[IndexOf(key)];
}

bool LaterKeyValue(const RecordField& key, const std::string& word, DWORD* value) {
  if (key.kind == FieldKind::kNumber) {
    return ReadDecimal(word, value);
  }
  if (key.kind == FieldKind::kFlag) {
    if (word != "0" && word != "1") {
      return false;
    }
    *value = word == "1" ? key.bitNames[0].bit : 0;
    return true;
  }
  for (const BitName& name : key.bitNames) {
    if (TextEqualsIgnoringCase(word, name.name)) {
      *value = name.bit;
      return true;
    }
  }
  return false;
}

CLaterKeys ReadLaterEntryKeys(const char* entryFilePath, const char* section) {
  CLaterKeys keys;
  const char* name = section != nullptr ? section : "RasEntry";
  for (const RecordField& key : kLaterRecordFields) {
    char text[260] = {};  // the longest value: DnsSuffix's 255 characters
    const DWORD capacity =
        key.kind == FieldKind::kText ? static_cast<DWORD>(key.width) : sizeof text;
    GetPrivateProfileStringA(name, key.name, kAbsent, text, capacity, entryFilePath);
    if (std::strcmp(text, kAbsent) == 0) {
      continue;
    }
    DWORD value = 0;
    if (key.kind == FieldKind::kText) {
      CopyText(reinterpret_cast<char*>(&keys.values) + key.offset, key.width, text);
    } else if (LaterKeyValue(key, text, &value)) {
      PutDword(&keys.values, key, value);
    } else {
      if (keys.unknown == nullptr) {
        keys.unknown = &key;
        keys.unknownValue = text;
      }
      continue;
    }
    keys.set[IndexOf(key)] = true;
  }
  return keys;
}

bool UsesIkev2(DWORD strategy) {
  return strategy == VS_Ikev2Only || strategy == VS_Ikev2First;
}

void ApplyLaterKeys(const CLaterKeys& keys, LongEntryRecord* record) {
  for (const RecordField& key : kLaterRecordFields) {
    if (!keys.IsSet(key)) {
      continue;
    }
    char* place = reinterpret_cast<char*>(record) + key.offset;
    if (key.kind == FieldKind::kText) {
      std::memcpy(place, FieldOf(keys.values, key), key.width);
    } else if (key.kind != FieldKind::kFlag) {
      PutDword(record, key, DwordOf(keys.values, key));
    }
  }
  const RecordField& preSharedKey = FieldNamed("dwfOptions2");
  if (keys.IsSet(preSharedKey)) {
    const DWORD bit = UsesIkev2(record->dwVpnStrategy) ? RASEO2_UsePreSharedKeyForIkev2Initiator
                                                       : RASEO2_UsePreSharedKey;
    const DWORD both = RASEO2_UsePreSharedKey | RASEO2_UsePreSharedKeyForIkev2Initiator;
    record->dwfOptions2 &= ~both;
    if (DwordOf(keys.values, preSharedKey) != 0) {
      record->dwfOptions2 |= bit;
    }
  }
  AgreeBaseOptions(keys, &record->base);
}

void AgreeBaseOptions(const CLaterKeys& keys, RASENTRYA* record) {
  const RecordField& encryption = FieldNamed("dwEncryptionType");
  if (keys.IsSet(encryption)) {
    const DWORD type = DwordOf(keys.values, encryption);
    const bool required = type == ET_Require || type == ET_RequireMax;
    record->dwfOptions = required ? (record->dwfOptions | RASEO_RequireDataEncryption)
                                  : (record->dwfOptions & ~RASEO_RequireDataEncryption);
  }
}
