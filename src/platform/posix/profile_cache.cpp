// Keeping each profile file taken apart once per process, and noticing when it changed.
#include "platform/posix/profile_cache.h"

#include <cerrno>
#include <ctime>

#include "platform/posix/regular_file.h"

namespace {

std::string DirectoryOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) {
    return ".";
  }
  return std::string(slash == 0 ? "/" : path.substr(0, slash));
}

bool IsDirectory(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

FileState MissingOrUnreadable(const char* path) {
  return errno == ENOENT && IsDirectory(DirectoryOf(path)) ? FileState::kMissing
                                                           : FileState::kUnreadable;
}

FileState StateOf(RegularFileRead read, const char* path) {
  switch (read) {
    case RegularFileRead::kRead:
      return FileState::kRead;
    case RegularFileRead::kOpenFailed:
      return MissingOrUnreadable(path);
    case RegularFileRead::kNotRegular:
    case RegularFileRead::kReadFailed:
      break;
  }
  return FileState::kUnreadable;
}

int64_t Nanoseconds(const timespec& time) {
  return static_cast<int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

bool ChangedRecently(const CFileStamp& stamp) {
  constexpr int64_t kLongestTimeStep = 2000000000;
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now) - stamp.modified < kLongestTimeStep;
}

}  // namespace

FileState ReadProfileFile(const char* path, std::string& bytes, struct stat& info) {
  return StateOf(ReadRegularFileBytes(path, bytes, info), path);
}

CFileStamp::CFileStamp(const struct stat& info)
    : device(info.st_dev),
      inode(info.st_ino),
      size(info.st_size),
      modified(Nanoseconds(info.st_mtim)) {}

CProfileIndex& CProfileCache::Read(const char* path, FileState& state) {
  struct stat info;
  const bool found = stat(path, &info) == 0;
  if (!found || !S_ISREG(info.st_mode)) {
    state = found ? FileState::kUnreadable : MissingOrUnreadable(path);
    Forget(path);
    return nothing_;
  }
  state = FileState::kRead;
  const CFileStamp seen(info);
  const auto kept = files_.find(std::string_view(path));
  if (kept != files_.end() && kept->second.stamp == seen && kept->second.trusted) {
    return kept->second.index;
  }
  // The time is taken before any read, so that a change after it shows in the time.
  const bool settled = !ChangedRecently(seen);
  if (kept != files_.end() && kept->second.stamp == seen && StillSame(path, kept->second, seen)) {
    kept->second.trusted = settled;
    return kept->second.index;
  }
  // What was kept goes before the file is read again, so that only one copy is ever held.
  Forget(path);
  return ReadAfresh(path, seen, settled, state);
}

bool CProfileCache::StillSame(const char* path, const CKept& kept, const CFileStamp& seen) {
  struct stat info;
  if (kept.encoding == ProfileEncoding::kBytes) {
    bool same = false;
    return CompareRegularFileBytes(path, kept.index.Bytes(), info, same) ==
               RegularFileRead::kRead &&
           same && CFileStamp(info) == seen;
  }
  std::string bytes;
  return ReadRegularFileBytes(path, bytes, info) == RegularFileRead::kRead &&
         CFileStamp(info) == seen && ProfileEncodingOf(bytes) == kept.encoding &&
         DecodeProfileText(bytes, kept.encoding) == kept.index.Bytes();
}

CProfileIndex& CProfileCache::ReadAfresh(const char* path, const CFileStamp& seen, bool settled,
                                         FileState& state) {
  std::string bytes;
  struct stat info;
  state = ReadProfileFile(path, bytes, info);
  if (state != FileState::kRead) {
    return nothing_;
  }
  const ProfileEncoding encoding = ProfileEncodingOf(bytes);
  if (encoding != ProfileEncoding::kBytes) {
    bytes = DecodeProfileText(bytes, encoding);
  }
  // Trusted only when nothing changed from the stat to the open.
  const CFileStamp stamp(info);
  return files_.try_emplace(path, stamp, settled && stamp == seen, encoding, std::move(bytes))
      .first->second.index;
}

void CProfileCache::Forget(const char* path) {
  if (const auto kept = files_.find(std::string_view(path)); kept != files_.end()) {
    files_.erase(kept);
  }
}

CProfileCache& ProfileCache() {
  static CProfileCache cache;
  return cache;
}
