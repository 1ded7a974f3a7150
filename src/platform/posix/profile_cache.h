// What the POSIX profile component keeps of the files it has read: each file taken apart once
// (profile_index.h), for the life of the process, keyed by its path. Every read checks with one
// stat that the file is still the one kept: the same device, inode, size and modification time;
// anything else, or a write through the component, reads it afresh.
//
// File systems keep modification times in steps (of up to two seconds), so a file changed again
// within a step of its last change can keep its time and its size, and its stamp cannot vouch for
// it. Such a racily clean file (one an installer wrote just before starting the tool) is read
// again on every read within that step and compared with what was kept, and taken apart again
// only when its bytes differ.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/posix/profile_index.h"
#include "platform/profile_encoding.h"

// A missing file reads as an empty one. Anything else that keeps the file from being read (a
// missing directory, no permission, a directory or any other file that is not a regular one in
// its place) makes it unreadable, which Windows treats slightly differently.
enum class FileState { kRead, kMissing, kUnreadable };

// Reads the file whole, as it lies on disk.
FileState ReadProfileFile(const char* path, std::string& bytes, struct stat& info);

// What one stat tells of a file that a change to it would alter.
struct CFileStamp {
  dev_t device;
  ino_t inode;
  off_t size;
  int64_t modified;  // in nanoseconds

  explicit CFileStamp(const struct stat& info);
  bool operator==(const CFileStamp&) const = default;
};

// The files read so far. One lock serialises every call, so that two threads may read at once.
// Released at the process's exit, so that nothing is held then; no profile function may
// therefore be called from the destructor of a static object.
class CProfileCache {
 public:
  std::mutex& Lock() { return lock_; }

  // Under the lock: the file at `path` as reads see it now, its text in the code page's bytes
  // whatever its encoding; `state` says how it was read.
  CProfileIndex& Read(const char* path, FileState& state);
  // Under the lock: drops what is kept of `path`, before a write.
  void Forget(const char* path);

 private:
  struct CKept {
    CKept(const CFileStamp& fileStamp, bool settled, ProfileEncoding fileEncoding, std::string text)
        : stamp(fileStamp), trusted(settled), encoding(fileEncoding), index(std::move(text)) {}
    CFileStamp stamp;
    bool trusted;  // false: racily clean, compared on the next read
    ProfileEncoding encoding;
    CProfileIndex index;
  };

  bool StillSame(const char* path, const CKept& kept, const CFileStamp& seen);
  CProfileIndex& ReadAfresh(const char* path, const CFileStamp& seen, bool settled,
                            FileState& state);

  std::mutex lock_;
  std::map<std::string, CKept, std::less<>> files_;
  CProfileIndex nothing_{std::string()};  // a file that is missing or cannot be read
};

CProfileCache& ProfileCache();
