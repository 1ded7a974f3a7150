// The peer files on disk. A change of the peers folder (a store, a rename, a removal) holds the
// lock of a file in it that only root (or this user) may open, .dialkit.lock, which keeps the
// changes of every process and thread apart; a peer file is only ever replaced whole, by one
// rename of a file written and flushed beside it, and the folder is flushed after, so that pppd and
// pon read the old file or the new one, also after a crash, and readers need no lock. Nothing is
// written through a symbolic link: files are made anew and renamed into place, and a link in the
// peers folder is an entry's file like any other.
#pragma once

#include <string>
#include <vector>

#include "platform_types.h"

// The peers folder of a root, open for a change.
class CPeersFolder {
 public:
  CPeersFolder() = default;
  ~CPeersFolder();
  CPeersFolder(const CPeersFolder&) = delete;
  CPeersFolder& operator=(const CPeersFolder&) = delete;

  // Opens the folder, making it as Debian keeps it (2750, root's and the group dip's, so that
  // members of dip may dial with pon) and the folders above it when missing, whole before it
  // appears (as .dialkit-peers beside it, then renamed); takes the lock; and
  // removes what a change stopped by a crash left (hidden .dialkit- files). 0, or
  // kErrorAccessDenied for a folder that a user other than root (or this one) or a group other
  // than dip may write (IsClosedToOthers), for a lock file that is not this user's alone, or for
  // a folder that cannot be made or written for want of the right;
  // ERROR_CANNOT_WRITE_PHONEBOOK otherwise.
  DWORD Open(const std::string& root);

  // The first step of a write: `text` into a new hidden file in the folder (mode 0640, group dip
  // when written by root), on the disk, its name into *temporary. 0, or the code of the failure,
  // which leaves no file.
  DWORD WriteTemporary(const std::string& text, std::string* temporary) const;
  // The second: the temporary file in the place of `file`, by one rename, made to last. On failure
  // the temporary file is removed.
  DWORD Switch(const std::string& temporary, const std::string& file) const;
  DWORD Write(const std::string& file, const std::string& text) const;

  // `from` renamed to `to`, or removed; made to last.
  DWORD Move(const std::string& from, const std::string& to) const;
  DWORD Remove(const std::string& file) const;

  // A file of root's alone beside the peers folder (chap-secrets, pap-secrets), under the same
  // lock: read without following a link (empty when missing; kErrorAccessDenied for a link or
  // anything but a regular file, and for a folder others may change), and replaced whole with
  // mode 0600 by a rename of a file written and flushed beside it.
  DWORD ReadSystemFile(const std::string& file, std::string* text) const;
  DWORD WriteSystemFile(const std::string& file, const std::string& text) const;

 private:
  int folder_ = -1;
  int lock_ = -1;
  std::string systemFolder_;  // the folder the peers folder lies in
};

// What the peers folder holds as `file`: its text, when it is a regular file, which is read
// without following a link; and whether it is trusted: a regular file that, as the folder, only
// root, this user and dip may change (IsClosedToOthers), which pppd may obey as root.
struct CPeerFileText {
  bool trusted = false;
  std::string text;
};
CPeerFileText ReadPeerFile(const std::string& root, const std::string& file);

// The name of the entry of the peers folder that is `file` but for letter case, spelled as on
// disk (`file` itself first); empty when there is none.
std::string FindPeerFile(const std::string& root, const std::string& file);

// The names in the peers folder that are peer file names of their own (PeerFileName gives them
// back unchanged), sorted: what pon can take. Other names (temporary files, a person's
// provider.old) are no entries.
std::vector<std::string> ListPeerFiles(const std::string& root);
