// The peers folder on disk: its lock, the making of it, and files replaced whole.
#include "peer_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "base/secret_buffer.h"
#include "base/text.h"
#include "peer_words.h"
#include "ppp_system.h"
#include "service_answers.h"

namespace {

constexpr mode_t kFileMode = 0640;
constexpr mode_t kFolderMode = 02750;
constexpr char kTemporaryPrefix[] = ".dialkit-";
// The file whose lock keeps changes apart. Whoever may read the folder may lock the folder
// itself, and so hold up root's changes for as long as they like; this file only root (or this
// user) may open. Its name does not begin with kTemporaryPrefix, so it is no leftover.
constexpr char kLockName[] = ".dialkit.lock";

DWORD WriteError(int error) {
  return error == EACCES || error == EPERM || error == EROFS ? kErrorAccessDenied
                                                             : ERROR_CANNOT_WRITE_PHONEBOOK;
}

// Root's files belong to the group dip, as Debian keeps them.
bool GiveToDialers(int file) {
  const gid_t dialers = DialersGroup();
  return geteuid() != 0 || dialers == static_cast<gid_t>(-1) || fchown(file, 0, dialers) == 0;
}

bool WriteAll(int file, std::string_view text) {
  while (!text.empty()) {
    const ssize_t count = write(file, text.data(), text.size());
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      return false;
    }
    text.remove_prefix(static_cast<size_t>(count));
  }
  return true;
}

// Makes the folder at `path` with `mode` (less the umask), and first each missing folder above it:
// root's folders on the way to the peers folder, which nobody else may write, whatever root's
// umask lets through for plain folders. True when it exists then; false, with errno, otherwise.
bool MakeFolders(const std::string& path, mode_t mode) {
  if (mkdir(path.c_str(), mode) == 0 || errno == EEXIST) {
    return true;
  }
  const size_t slash = path.rfind('/');
  return errno == ENOENT && slash != 0 && slash != std::string::npos &&
         MakeFolders(path.substr(0, slash), mode) &&
         (mkdir(path.c_str(), mode) == 0 || errno == EEXIST);
}

// Makes the peers folder whole before it appears: made beside it under a hidden name, given the
// mode and group that Debian keeps it with, then renamed into place, so that a crash leaves no
// folder that dip may not read, only the hidden one, which the next making takes up. 0 also where
// another process made the folder meanwhile.
DWORD MakePeersFolder(const std::string& path) {
  const std::string parent = path.substr(0, path.rfind('/'));
  const std::string making = parent + "/" + kTemporaryPrefix + "peers";
  if (!MakeFolders(parent, 0755) || (mkdir(making.c_str(), 0700) != 0 && errno != EEXIST)) {
    return WriteError(errno);
  }
  const int folder = open(making.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (folder < 0) {
    return errno == ENOENT ? 0 : WriteError(errno);  // another process put it into place
  }
  struct stat info;
  DWORD failed = fstat(folder, &info) != 0 || info.st_uid != geteuid() ? kErrorAccessDenied : 0;
  if (failed == 0 && (!GiveToDialers(folder) || fchmod(folder, kFolderMode) != 0)) {
    failed = WriteError(errno);
  }
  close(folder);
  // Never over a folder that another process made meanwhile, and may be writing into already.
  if (failed == 0 &&
      renameat2(AT_FDCWD, making.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0 &&
      errno != ENOENT) {
    failed = errno == EEXIST ? 0 : WriteError(errno);
    rmdir(making.c_str());
  }
  return failed;
}

}  // namespace

CPeersFolder::~CPeersFolder() {
  for (const int file : {lock_, folder_}) {
    if (file >= 0) {
      close(file);  // and with it the lock
    }
  }
}

DWORD CPeersFolder::Open(const std::string& root) {
  const std::string path = PeersDirectory(root);
  systemFolder_ = path.substr(0, path.rfind('/'));
  folder_ = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_ < 0 && errno == ENOENT) {
    if (const DWORD failed = MakePeersFolder(path)) {
      return failed;
    }
    folder_ = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }
  if (folder_ < 0) {
    return WriteError(errno);
  }
  if (!IsClosedToOthers(folder_)) {
    return kErrorAccessDenied;
  }
  lock_ = openat(folder_, kLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  struct stat lock;
  if (lock_ < 0 || fstat(lock_, &lock) != 0) {
    return WriteError(errno);
  }
  if (!S_ISREG(lock.st_mode) || lock.st_uid != geteuid() || (lock.st_mode & 077) != 0) {
    return kErrorAccessDenied;
  }
  while (flock(lock_, LOCK_EX) != 0) {
    if (errno != EINTR) {
      return WriteError(errno);
    }
  }
  // What a change stopped by a crash left; no other change can be under way now.
  const int listed = dup(folder_);
  DIR* listing = listed >= 0 ? fdopendir(listed) : nullptr;
  if (listing == nullptr) {
    if (listed >= 0) {
      close(listed);
    }
    return WriteError(errno);
  }
  while (const dirent* entry = readdir(listing)) {
    if (std::string_view(entry->d_name).starts_with(kTemporaryPrefix)) {
      unlinkat(folder_, entry->d_name, 0);
    }
  }
  closedir(listing);
  return 0;
}

DWORD CPeersFolder::WriteTemporary(const std::string& text, std::string* temporary) const {
  int file = -1;
  for (int attempt = 0; attempt < 100 && file < 0; ++attempt) {
    *temporary = kTemporaryPrefix + std::to_string(getpid()) + "-" + std::to_string(attempt);
    file = openat(folder_, temporary->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  kFileMode);
    if (file < 0 && errno != EEXIST) {
      return WriteError(errno);
    }
  }
  if (file < 0) {
    return ERROR_CANNOT_WRITE_PHONEBOOK;
  }
  DWORD failed = 0;
  if (!WriteAll(file, text) || fchmod(file, kFileMode) != 0 || !GiveToDialers(file) ||
      fsync(file) != 0) {
    failed = WriteError(errno);
  }
  if (close(file) != 0 && failed == 0) {
    failed = WriteError(errno);
  }
  if (failed != 0) {
    unlinkat(folder_, temporary->c_str(), 0);
  }
  return failed;
}

DWORD CPeersFolder::Switch(const std::string& temporary, const std::string& file) const {
  if (renameat(folder_, temporary.c_str(), folder_, file.c_str()) != 0) {
    const DWORD failed = WriteError(errno);
    unlinkat(folder_, temporary.c_str(), 0);
    return failed;
  }
  return fsync(folder_) == 0 ? 0 : WriteError(errno);
}

DWORD CPeersFolder::Write(const std::string& file, const std::string& text) const {
  std::string temporary;
  const DWORD failed = WriteTemporary(text, &temporary);
  return failed != 0 ? failed : Switch(temporary, file);
}

DWORD CPeersFolder::Move(const std::string& from, const std::string& to) const {
  if (from != to && renameat(folder_, from.c_str(), folder_, to.c_str()) != 0) {
    return WriteError(errno);
  }
  return fsync(folder_) == 0 ? 0 : WriteError(errno);
}

DWORD CPeersFolder::Remove(const std::string& file) const {
  if (unlinkat(folder_, file.c_str(), 0) != 0) {
    return WriteError(errno);
  }
  return fsync(folder_) == 0 ? 0 : WriteError(errno);
}

namespace {

// The system folder, open, when only root, this user and dip may change it; -1 otherwise, with
// *failed saying why.
int OpenSystemFolder(const std::string& path, DWORD* failed) {
  const int folder = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  *failed = folder < 0 ? WriteError(errno) : 0;
  if (folder >= 0 && !IsClosedToOthers(folder)) {
    close(folder);
    *failed = kErrorAccessDenied;
    return -1;
  }
  return folder;
}

}  // namespace

DWORD CPeersFolder::ReadSystemFile(const std::string& file, std::string* text) const {
  text->clear();
  DWORD failed = 0;
  const int folder = OpenSystemFolder(systemFolder_, &failed);
  if (folder < 0) {
    return failed;
  }
  const int opened = openat(folder, file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  struct stat info;
  if (opened < 0) {
    failed = errno == ENOENT ? 0 : errno == ELOOP ? kErrorAccessDenied : WriteError(errno);
  } else if (fstat(opened, &info) != 0 || !S_ISREG(info.st_mode)) {
    failed = kErrorAccessDenied;
  } else {
    // A secrets file's text takes its room at once, since a text that grows leaves earlier copies
    // of its secrets behind unwiped; the chunk is wiped after them.
    text->reserve(static_cast<size_t>(info.st_size) + 1);
    char chunk[4096];
    ssize_t count = 0;
    while ((count = read(opened, chunk, sizeof chunk)) > 0 || (count < 0 && errno == EINTR)) {
      text->append(chunk, static_cast<size_t>(std::max<ssize_t>(count, 0)));
    }
    failed = count < 0 ? WriteError(errno) : 0;
    WipeBytes(chunk, sizeof chunk);
  }
  for (const int descriptor : {opened, folder}) {
    if (descriptor >= 0) {
      close(descriptor);
    }
  }
  return failed;
}

DWORD CPeersFolder::WriteSystemFile(const std::string& file, const std::string& text) const {
  DWORD failed = 0;
  const int folder = OpenSystemFolder(systemFolder_, &failed);
  if (folder < 0) {
    return failed;
  }
  // One name per file: under the lock no other change can be writing it, and what a crash left
  // is removed first.
  const std::string temporary = kTemporaryPrefix + file;
  unlinkat(folder, temporary.c_str(), 0);
  const int written =
      openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (written < 0) {
    failed = WriteError(errno);
  } else {
    if (!WriteAll(written, text) || fchmod(written, 0600) != 0 || fsync(written) != 0) {
      failed = WriteError(errno);
    }
    if (close(written) != 0 && failed == 0) {
      failed = WriteError(errno);
    }
    if (failed == 0 && renameat(folder, temporary.c_str(), folder, file.c_str()) != 0) {
      failed = WriteError(errno);
    }
    if (failed != 0) {
      unlinkat(folder, temporary.c_str(), 0);
    } else if (fsync(folder) != 0) {
      failed = WriteError(errno);
    }
  }
  close(folder);
  return failed;
}

CPeerFileText ReadPeerFile(const std::string& root, const std::string& file) {
  CPeerFileText peer;
  const int folder = open(PeersDirectory(root).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  struct stat info;
  const int opened =
      folder >= 0 && fstatat(folder, file.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
              S_ISREG(info.st_mode)
          ? openat(folder, file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)
          : -1;
  if (opened >= 0 && fstat(opened, &info) == 0 && S_ISREG(info.st_mode)) {
    peer.trusted = IsClosedToOthers(folder) && IsClosedToOthers(opened);
    char chunk[4096];
    ssize_t count = 0;
    while ((count = read(opened, chunk, sizeof chunk)) > 0 || (count < 0 && errno == EINTR)) {
      peer.text.append(chunk, static_cast<size_t>(std::max<ssize_t>(count, 0)));
    }
  }
  for (const int descriptor : {opened, folder}) {
    if (descriptor >= 0) {
      close(descriptor);
    }
  }
  return peer;
}

std::string FindPeerFile(const std::string& root, const std::string& file) {
  struct stat info;
  if (!file.empty() && lstat((PeersDirectory(root) + "/" + file).c_str(), &info) == 0) {
    return file;
  }
  for (const std::string& name : ListPeerFiles(root)) {
    if (TextEqualsIgnoringCase(name, file)) {
      return name;
    }
  }
  return {};
}

std::vector<std::string> ListPeerFiles(const std::string& root) {
  std::vector<std::string> files;
  if (DIR* listing = opendir(PeersDirectory(root).c_str())) {
    while (const dirent* entry = readdir(listing)) {
      if (PeerFileName(entry->d_name) == entry->d_name) {
        files.emplace_back(entry->d_name);
      }
    }
    closedir(listing);
  }
  std::sort(files.begin(), files.end());
  return files;
}
