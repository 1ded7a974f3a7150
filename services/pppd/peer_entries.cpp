#include "peer_entries.h"

#include "framework/text.h"
#include "peer_store.h"
#include "peer_words.h"
#include "platform/result_codes.h"

namespace {

CPeerEntry ReadEntryFile(const std::string& root, const std::string& file) {
  std::string text;
  ReadPeerFile(root, file, &text);
  return {file, ReadPeerContents(file, text, root)};
}

}  // namespace

bool FindPeerEntry(const std::string& root, const std::string& name, CPeerEntry* entry) {
  const std::string file = FindPeerFile(root, PeerFileName(name));
  if (file.empty()) {
    return false;
  }
  *entry = ReadEntryFile(root, file);
  return TextEqualsIgnoringCase(entry->contents.entryName, name);
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

DWORD StorePeerEntry(const std::string& root, const std::string& name, const RASENTRYA& record) {
  CPeersFolder folder;
  if (const DWORD failed = folder.Open(root)) {
    return failed;
  }
  CPeerEntry entry{PeerFileName(name), {}};
  entry.contents.entryName = name;
  if (IsPeerFileTaken(root, name) && !FindPeerEntry(root, name, &entry)) {
    return ERROR_ALREADY_EXISTS;
  }
  std::string peer;
  if (const DWORD refused = FormatPeer(entry.contents.entryName, record, root, &peer)) {
    return refused;
  }
  return folder.Write(entry.file, WithPersonLines(std::move(peer), entry.contents.personLines));
}

DWORD RenamePeerEntry(const std::string& root, const std::string& oldName,
                      const std::string& newName) {
  // Looked for before the folder is opened, which would make it, and again under its lock.
  CPeerEntry from;
  CPeersFolder folder;
  if (!FindPeerEntry(root, oldName, &from)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  if (const DWORD failed = folder.Open(root)) {
    return failed;
  }
  if (!FindPeerEntry(root, oldName, &from)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  const std::string file = PeerFileName(newName);
  const std::string holder = FindPeerFile(root, file);
  if (!holder.empty() && holder != from.file) {
    return ERROR_ALREADY_EXISTS;
  }
  if (!from.contents.ours) {
    return file == newName ? folder.Move(from.file, file) : ERROR_INVALID_NAME;
  }
  std::string peer;
  if (const DWORD refused = FormatPeer(newName, from.contents.record, root, &peer)) {
    return refused;
  }
  if (const DWORD failed =
          folder.Write(file, WithPersonLines(std::move(peer), from.contents.personLines))) {
    return failed;
  }
  return file == from.file ? 0 : folder.Remove(from.file);
}

DWORD DeletePeerEntry(const std::string& root, const std::string& name) {
  CPeerEntry entry;
  CPeersFolder folder;
  if (!FindPeerEntry(root, name, &entry)) {
    return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  }
  if (const DWORD failed = folder.Open(root)) {
    return failed;
  }
  return FindPeerEntry(root, name, &entry) ? folder.Remove(entry.file)
                                           : ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
}
