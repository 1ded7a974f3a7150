// What became of each entry a run was asked for: one outcome per entry, noted in the log as it
// happens, and together the run's status (the quiet run's exit status) and its report.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/entry_comparison.h"
#include "app/run_log.h"
#include "entry/entry_record.h"

// The exit status of a quiet run: 0 when every entry asked for was stored (or, with /remove, is
// gone); otherwise, of the ways in which the run fell short, the one with the smallest code. A run
// that is not quiet always exits with 0, as installers that start the tool expect.
enum RunStatus : int {
  kRunStoredAll = 0,
  kRunUsage = 1,                // the command line is incomplete or unusable
  kRunFileNotFound = 2,         // the entry description file does not exist
  kRunServiceNotLoaded = 3,     // the remote-access library cannot be loaded
  kRunExistingKept = 4,         // the overwrite question was not answered OK
  kRunStoreRefused = 5,         // the service refused to store an entry
  kRunNoDevice = 6,             // the main entry has no device: none installed, or none chosen
  kRunNoVpnEntry = 7,           // no VPN adapter, or no VPNEntry section in the file
  kRunOutOfMemory = 8,          // the run could not go on: memory ran out
  kRunNoOwnFolder = 9,          // the tool's files directory cannot be made the current directory
  kRunSecretsRefused = 10,      // the secrets file cannot be used: nothing was stored
  kRunCredentialsRefused = 11,  // an entry was stored, but not its credentials
  kRunKeyNotCarried = 12,       // a key the file sets: a value it does not know, or one this
                                // Windows lacks
};

// An entry's result, by the report's names (EntryResultName).
enum class EntryResult {
  kCreated,    // stored where there was no entry of the name
  kUpdated,    // stored over an entry that differed (or could not be read back)
  kUnchanged,  // the stored entry is what the file describes: nothing was written
  kKept,       // an entry that differed was kept: the overwrite was not confirmed
  kRemoved,    // removed
  kAbsent,     // to be removed, and not there
  kNotStored,  // not stored (nor removed), for a reason of the run's own
  kFailed,     // the service refused to store or to remove it
};

const char* EntryResultName(EntryResult result);

struct CEntryOutcome {
  std::string name;
  bool vpn = false;  // the VPN entry (kind "vpn"), else the dial-up entry
  EntryResult result = EntryResult::kNotStored;
  // The device of the entry stored, kept, or that would have been stored; none where no device
  // was chosen (or, for a removal, the entry could not be read).
  std::optional<std::string> deviceType;
  std::optional<std::string> deviceName;
  CEntryChanges changes;
  std::optional<uint32_t> error;  // the service's code, for kFailed
  std::string message;            // the log's line about it
  // With a secrets file that has a section for the entry: "set", "kept" or "refused".
  const char* credentials = nullptr;
};

class CRunResult {
 public:
  // `check`: a preview (/check), whose stores and removals are only said. `removing`: the run
  // of /remove, whose entries are "not removed" where another's are "not stored".
  CRunResult(const CRunLog& log, bool check, bool removing)
      : log_(log), check_(check), removing_(removing) {}

  // Stored, or with /check to be stored: kCreated when `changes` came from no stored entry.
  void Stored(const char* entryName, bool vpn, const RASENTRYA& entry, CEntryChanges changes,
              bool created);
  void Unchanged(const char* entryName, bool vpn, const RASENTRYA& entry);
  // Not stored for `reason`, with the run's `status`; `entry` is the record that would have been
  // stored, or null when it got no device. kKept when `kept`.
  void NotStored(const char* entryName, bool vpn, int status, std::string_view reason,
                 const RASENTRYA* entry = nullptr, bool kept = false, CEntryChanges changes = {});
  // The service refused to store (or to remove) it with `code`; `changes` were to be written.
  void Refused(const char* entryName, bool vpn, uint32_t code, const RASENTRYA* entry,
               CEntryChanges changes = {});
  // Removed, or with /check to be removed; `stored` is what was there (null: not read).
  void Removed(const char* entryName, bool vpn, const RASENTRYA* stored);
  void Absent(const char* entryName, bool vpn);
  // The credentials of the entry whose outcome came last (stored or unchanged): given to the
  // service, as `note` says for whom; left as the service keeps them; refused with `code`.
  void CredentialsSet(const std::string& note);
  void CredentialsKept();
  void CredentialsRefused(uint32_t code, const std::string& reason);
  // The settings file was written: the remembered device changed.
  void SettingsWritten() { settingsWritten_ = true; }

  int Status() const { return status_; }
  // Something was written (or, with /check, would be).
  bool Changed() const;
  bool Check() const { return check_; }
  const std::vector<CEntryOutcome>& Entries() const { return entries_; }

 private:
  CEntryOutcome& Add(const char* entryName, bool vpn, EntryResult result, const RASENTRYA* entry,
                     std::string message);
  void FellShort(int status);

  const CRunLog& log_;
  bool check_;
  bool removing_;
  bool settingsWritten_ = false;
  int status_ = 0;
  std::vector<CEntryOutcome> entries_;
};
