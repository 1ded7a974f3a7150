// The entries of the peers folder. An entry lives in the peer file its name gives (PeerFileName:
// "Home Dial-Up" in Home-Dial-Up), which keeps the entry's own name, also once it was changed by
// hand; a file the service did not write is the entry named by its file name. Two names that give
// one file cannot both be entries: the second is refused as a name in use. Each function takes a
// name that IsPeerName takes.
#pragma once

#include <string>
#include <vector>

#include "entry/entry_record.h"
#include "peer_file.h"
#include "platform_types.h"

struct CPeerEntry {
  std::string file;  // the peer file's name in the peers folder
  CPeerContents contents;
  // Whether only root, this user and dip may change the file and its folder (by their modes, and
  // neither has an ACL). A file others may change reads as a person's, with a new entry's record,
  // and is never dialled.
  bool trusted = false;
};

// The entry `name` (letter case aside) into *entry; false, *entry untouched, when there is none.
bool FindPeerEntry(const std::string& root, const std::string& name, CPeerEntry* entry);

// Whether the peer file that `name` gives is there, whichever entry it holds.
bool IsPeerFileTaken(const std::string& root, const std::string& name);

// The entries' names, in the order of their files.
std::vector<std::string> ListPeerEntries(const std::string& root);

// Stores the record as the entry `name`: over the entry when it exists, keeping the spelling it was
// stored under and the lines a person added; ERROR_ALREADY_EXISTS when another entry holds its
// file; a code of FormatPeer or CPeersFolder otherwise.
DWORD StorePeerEntry(const std::string& root, const std::string& name, const RASENTRYA& record,
                     const LongEntryRecord& later = {});

// Renames the entry: a file of the service's own is written anew under the new name, keeping the
// lines a person added, and the old file removed; a person's file moves as it is, and takes only
// a name that is its new file name (123 for any other). 623 without the entry, 183 when another
// entry holds the new file; a rename that stopped between its two steps, leaving the new file
// with the same record and lines, finishes.
DWORD RenamePeerEntry(const std::string& root, const std::string& oldName,
                      const std::string& newName);

// Removes the entry's peer file, and nothing else; 623 without the entry.
DWORD DeletePeerEntry(const std::string& root, const std::string& name);
