// Finding, storing, renaming and removing the entries of the peers folder by their names.
#include "peer_entries.h"

#include "base/text.h"
#include "entry_fields.h"
#include "peer_store.h"
#include "peer_words.h"
#include "platform/result_codes.h"
#include "ppp_system.h"
#include "service_answers.h"

namespace {

CPeerEntry ReadEntryFile(const std::string& root, const std::string& file) {
  const CPeerFileText read = ReadPeerFile(root, file);
  CPeerEntry entry{file, ReadPeerContents(file, read.text, root), read.trusted};
  if (!entry.trusted) {
    entry.contents = {false, entry.contents.entryName, DefaultEntryRecord(), {}, {}};
  }
  return entry;
}

// The folder open for a change of the existing entry `name`: the entry is looked for before the
// folder is opened, which would make it, and again under the folder's lock. 0, 623 without the
// entry, or the folder's code.
DWORD OpenForEntry(const std::string& root, const std::string& name, CPeersFolder& folder,
                   CPeerEntry* entry) {
  if (!FindPeerEntry(root, name, entry)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  if (const DWORD failed = folder.Open(root)) {
    return failed;
  }
  return FindPeerEntry(root, name, entry) ? 0 : ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}

// Every field of the record, as the peer file keeps it.
std::string RecordText(const RASENTRYA& record) {
  std::string text;
  AppendStoredRecord(text, record, "");
  return text;
}

// Writes the entry that `contents` holds (its name, its record, the lines a person added) as the
// peer file `file`.
DWORD WriteEntry(const CPeersFolder& folder, const std::string& root, const std::string& file,
                 const CPeerContents& contents) {
  std::string peer;
  if (const DWORD refused =
          FormatPeer(contents.entryName, contents.record, root, &peer, contents.later)) {
    return refused;
  }
  return folder.Write(file, WithPersonLines(std::move(peer), contents.personLines));
}

}  // namespace

bool FindPeerEntry(const std::string& root, const std::string& name, CPeerEntry* entry) {
  const std::string file = FindPeerFile(root, PeerFileName(name));
  if (file.empty()) {
    return false;
  }
  CPeerEntry found = ReadEntryFile(root, file);
  if (!TextEqualsIgnoringCase(found.contents.entryName, name)) {
    return false;
  }
  *entry = std::move(found);
  return true;
}

bool IsPeerFileTaken(const std::string& root, const std::string& name) {
  return !FindPeerFile(root, PeerFileName(name)).empty();
}

std::vector<std::string> ListPeerEntries(const std::string& root) {
  std::vector<std::string> names;
  for (const std::string& file : ListPeerFiles(root)) {
    names.push_back(ReadEntryFile(root, file).contents.entryName);
  }
  return names;
}

DWORD StorePeerEntry(const std::string& root, const std::string& name, const RASENTRYA& record,
                     const LongEntryRecord& later) {
  CPeersFolder folder;
  if (const DWORD failed = folder.Open(root)) {
    return failed;
  }
  CPeerEntry entry{PeerFileName(name), {}, false};
  entry.contents.entryName = name;
  if (IsPeerFileTaken(root, name) && !FindPeerEntry(root, name, &entry)) {
    return ERROR_ALREADY_EXISTS;
  }
  // The port is looked at when the entry is stored; reading it back asks only the file.
  if (FieldText(record.szDeviceType) != kVpnType &&
      !IsModemDevice(root, ModemPort(root, FieldText(record.szDeviceName)))) {
    return kErrorDeviceDoesNotExist;
  }
  entry.contents.record = record;
  entry.contents.later = later;
  return WriteEntry(folder, root, entry.file, entry.contents);
}

DWORD RenamePeerEntry(const std::string& root, const std::string& oldName,
                      const std::string& newName) {
  CPeerEntry from;
  CPeersFolder folder;
  if (const DWORD failed = OpenForEntry(root, oldName, folder, &from)) {
    return failed;
  }
  const std::string file = PeerFileName(newName);
  const std::string holder = FindPeerFile(root, file);
  if (!holder.empty() && holder != from.file) {
    // A rename stopped before it removed the old file left the new one whole: it finishes now.
    CPeerEntry to;
    const bool written = from.contents.ours && FindPeerEntry(root, newName, &to) &&
                         to.contents.ours && to.contents.personLines == from.contents.personLines &&
                         RecordText(to.contents.record) == RecordText(from.contents.record);
    return written ? folder.Remove(from.file) : ERROR_ALREADY_EXISTS;
  }
  if (!from.contents.ours) {
    return file == newName ? folder.Move(from.file, file) : ERROR_INVALID_NAME;
  }
  from.contents.entryName = newName;
  if (const DWORD failed = WriteEntry(folder, root, file, from.contents)) {
    return failed;
  }
  return file == from.file ? 0 : folder.Remove(from.file);
}

DWORD DeletePeerEntry(const std::string& root, const std::string& name) {
  CPeerEntry entry;
  CPeersFolder folder;
  const DWORD failed = OpenForEntry(root, name, folder, &entry);
  return failed != 0 ? failed : folder.Remove(entry.file);
}
