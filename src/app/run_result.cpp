// The outcomes of a run's entries, their log lines and the run's status.
#include "app/run_result.h"

#include <algorithm>
#include <utility>

#include "base/text.h"

namespace {

constexpr const char* kResultNames[] = {"created", "updated", "unchanged",  "kept",
                                        "removed", "absent",  "not stored", "failed"};

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

}  // namespace

const char* EntryResultName(EntryResult result) {
  return kResultNames[static_cast<size_t>(result)];
}

CEntryOutcome& CRunResult::Add(const char* entryName, bool vpn, EntryResult result,
                               const RASENTRYA* entry, std::string message) {
  CEntryOutcome& outcome = entries_.emplace_back();
  outcome.name = entryName;
  outcome.vpn = vpn;
  outcome.result = result;
  if (entry != nullptr) {
    outcome.deviceType = FieldText(entry->szDeviceType);
    outcome.deviceName = FieldText(entry->szDeviceName);
  }
  outcome.message = std::move(message);
  return outcome;
}

void CRunResult::FellShort(int status) {
  log_.Report({entries_.back().message});
  status_ = status_ == kRunStoredAll ? status : std::min(status_, status);
}

void CRunResult::Stored(const char* entryName, bool vpn, const RASENTRYA& entry,
                        CEntryChanges changes, bool created) {
  CEntryOutcome& outcome = Add(
      entryName, vpn, created ? EntryResult::kCreated : EntryResult::kUpdated, &entry,
      (check_ ? "would store " : "stored ") + Quoted(entryName) + " on " +
          std::string(FieldText(entry.szDeviceType)) + " " + Quoted(FieldText(entry.szDeviceName)));
  outcome.changes = std::move(changes);
  log_.Note({outcome.message});
}

void CRunResult::Unchanged(const char* entryName, bool vpn, const RASENTRYA& entry) {
  log_.Note({Add(entryName, vpn, EntryResult::kUnchanged, &entry,
                 "unchanged " + Quoted(entryName) + ": the stored entry is what the file describes")
                 .message});
}

void CRunResult::NotStored(const char* entryName, bool vpn, int status, std::string_view reason,
                           const RASENTRYA* entry, bool kept, CEntryChanges changes) {
  Add(entryName, vpn, kept ? EntryResult::kKept : EntryResult::kNotStored, entry,
      (removing_ ? "not removed " : "not stored ") + Quoted(entryName) + ": " + std::string(reason))
      .changes = kept ? std::move(changes) : CEntryChanges();
  FellShort(status);
}

void CRunResult::Refused(const char* entryName, bool vpn, uint32_t code, const RASENTRYA* entry,
                         CEntryChanges changes) {
  CEntryOutcome& outcome = Add(entryName, vpn, EntryResult::kFailed, entry,
                               (removing_ ? "not removed " : "not stored ") + Quoted(entryName) +
                                   ": the service refused it with error " + std::to_string(code));
  outcome.error = code;
  outcome.changes = std::move(changes);
  FellShort(kRunStoreRefused);
}

void CRunResult::Removed(const char* entryName, bool vpn, const RASENTRYA* stored) {
  CEntryOutcome& outcome = Add(entryName, vpn, EntryResult::kRemoved, stored,
                               (check_ ? "would remove " : "removed ") + Quoted(entryName));
  outcome.changes = CompareEntryRecords(stored, nullptr);
  log_.Note({outcome.message});
}

void CRunResult::Absent(const char* entryName, bool vpn) {
  log_.Note({Add(entryName, vpn, EntryResult::kAbsent, nullptr,
                 "not there, so nothing to remove: " + Quoted(entryName))
                 .message});
}

void CRunResult::CredentialsSet(const std::string& note) {
  CEntryOutcome& outcome = entries_.back();
  outcome.credentials = "set";
  log_.Note({check_ ? "would set the credentials of " : "set the credentials of ",
             Quoted(outcome.name), check_ ? "" : " " + note});
}

void CRunResult::CredentialsKept() {
  CEntryOutcome& outcome = entries_.back();
  outcome.credentials = "kept";
  log_.Note({"kept the credentials of ", Quoted(outcome.name),
             ": its entry is unchanged (/credentials:always sets them on every run)"});
}

void CRunResult::CredentialsRefused(uint32_t code, const std::string& reason) {
  CEntryOutcome& outcome = entries_.back();
  outcome.credentials = "refused";
  outcome.error = code;
  log_.Report({"credentials not stored for ", Quoted(outcome.name), ": ", reason});
  status_ = status_ == kRunStoredAll ? kRunCredentialsRefused
                                     : std::min(status_, int{kRunCredentialsRefused});
}

bool CRunResult::Changed() const {
  return settingsWritten_ ||
         std::any_of(entries_.begin(), entries_.end(), [](const CEntryOutcome& outcome) {
           return (outcome.credentials != nullptr &&
                   std::string_view(outcome.credentials) == "set") ||
                  outcome.result == EntryResult::kCreated ||
                  outcome.result == EntryResult::kUpdated ||
                  outcome.result == EntryResult::kRemoved;
         });
}
