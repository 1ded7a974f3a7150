// Reading a field of the entry record by its row of the field table.
#include "entry/record_fields.h"

#include <cstring>

#include "base/text.h"

const char* FieldOf(const RASENTRYA& record, const RecordField& field) {
  return reinterpret_cast<const char*>(&record) + field.offset;
}

const char* FieldOf(const LongEntryRecord& record, const RecordField& field) {
  return reinterpret_cast<const char*>(&record) + field.offset;
}

DWORD DwordAt(const char* bytes) {
  DWORD value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

DWORD DwordOf(const RASENTRYA& record, const RecordField& field) {
  return DwordAt(FieldOf(record, field));
}

DWORD DwordOf(const LongEntryRecord& record, const RecordField& field) {
  return DwordAt(FieldOf(record, field));
}

std::string_view TextOf(const RASENTRYA& record, const RecordField& field) {
  return FieldText(FieldOf(record, field), field.width);
}

std::string_view TextOf(const LongEntryRecord& record, const RecordField& field) {
  return FieldText(FieldOf(record, field), field.width);
}

std::string DottedOf(const RASENTRYA& record, const RecordField& field) {
  RASIPADDR address;
  std::memcpy(&address, FieldOf(record, field), sizeof address);
  return DottedAddress(address);
}

std::string DottedAddress(const RASIPADDR& address) {
  return std::to_string(address.a) + "." + std::to_string(address.b) + "." +
         std::to_string(address.c) + "." + std::to_string(address.d);
}

std::string FieldValueText(const char* record, const RecordField& key) {
  const char* place = record + key.offset;
  switch (key.kind) {
    case FieldKind::kText:
      return std::string(FieldText(place, key.width));
    case FieldKind::kAddress: {
      RASIPADDR address;
      std::memcpy(&address, place, sizeof address);
      return DottedAddress(address);
    }
    case FieldKind::kNumber:
      return std::to_string(DwordAt(place));
    case FieldKind::kFlag:
      return (DwordAt(place) &
              (RASEO2_UsePreSharedKey | RASEO2_UsePreSharedKeyForIkev2Initiator)) != 0
                 ? "1"
                 : "0";
    case FieldKind::kChoice:
      for (const BitName& name : key.bitNames) {
        if (name.bit == DwordAt(place)) {
          return name.name;
        }
      }
      return std::to_string(DwordAt(place));
    case FieldKind::kBits:
      break;
  }
  std::string names;
  for (const BitName& keyword : key.bitNames) {
    if ((DwordAt(place) & keyword.bit) != 0) {
      names.append(names.empty() ? "" : " ").append(keyword.name);
    }
  }
  return names;
}
