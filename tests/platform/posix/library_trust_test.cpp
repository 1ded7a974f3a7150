// Which libraries the POSIX loader trusts, as a table of the ways a place can be open to others.
// A file of another user needs root to make; without root the tool's owner is taken to be
// another user instead, which is the same mismatch seen from the other side.
#include "platform/posix/library_trust.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;

constexpr uid_t kSomeoneElse = 65534;

struct TrustRow {
  const char* what;
  void (*open)(const fs::path& place, const fs::path& library, uid_t& owner);
  bool trusted;
  bool fromRoot = false;  // `top` is the root directory, as for the system directory
};

// The tool's owner when the file belongs to somebody else.
void MakeForeign(const fs::path& file, uid_t& owner) {
  if (geteuid() == 0) {
    ASSERT_EQ(lchown(file.c_str(), kSomeoneElse, kSomeoneElse), 0);
  } else {
    owner = getuid() + 1;
  }
}

const TrustRow kRows[] = {
    {"closed to others", [](const fs::path&, const fs::path&, uid_t&) {}, true},
    {"closed to others, every directory up to the root (a temporary one is sticky)",
     [](const fs::path&, const fs::path&, uid_t&) {}, true, true},
    {"a directory its group can write",
     [](const fs::path& place, const fs::path&, uid_t&) { chmod(place.c_str(), 0775); }, false},
    {"a directory anyone can write",
     [](const fs::path& place, const fs::path&, uid_t&) { chmod(place.c_str(), 0757); }, false},
    {"a library its group can write",
     [](const fs::path&, const fs::path& library, uid_t&) { chmod(library.c_str(), 0664); }, false},
    {"a library of another user",
     [](const fs::path&, const fs::path& library, uid_t& owner) { MakeForeign(library, owner); },
     false},
    {"a directory of another user",
     [](const fs::path& place, const fs::path&, uid_t& owner) { MakeForeign(place, owner); },
     false},
    {"the library a symbolic link to one that is trusted",
     [](const fs::path& place, const fs::path& library, uid_t&) {
       fs::rename(library, place / "real.so");
       fs::create_symlink(place / "real.so", library);
     },
     false},
    {"a symbolic link on the way",
     [](const fs::path& place, const fs::path&, uid_t&) {
       fs::rename(place, place.string() + ".real");
       fs::create_directory_symlink(place.string() + ".real", place);
     },
     false, true},
    // The stand-in system directory that the environment names, for a tool that root owns and
    // runs: a directory of a user is not root's.
    {"root's tool, and a system directory of a user",
     [](const fs::path& place, const fs::path&, uid_t& owner) {
       if (geteuid() == 0) {
         ASSERT_EQ(chown(place.c_str(), kSomeoneElse, kSomeoneElse), 0);
       }
       owner = 0;
     },
     false, true},
};

TEST(LibraryTrust, NobodyButRootAndTheToolsOwnerCanHaveChangedIt) {
  for (const TrustRow& row : kRows) {
    SCOPED_TRACE(row.what);
    const test::ScopedTempDirectory directory;
    const fs::path place = directory.path() / "lib";
    fs::create_directory(place);
    chmod(directory.path().c_str(), 0755);
    chmod(place.c_str(), 0755);
    const fs::path library = place / "rasapi32.dll.so";
    test::WriteFileBytes(library.string(), "library");
    chmod(library.c_str(), 0644);
    uid_t owner = getuid();
    row.open(place, library, owner);
    const std::string top = row.fromRoot ? "/" : place.string() + "/";
    EXPECT_EQ(IsTrustedLibrary(library.string(), top, owner), row.trusted);
    if (fs::is_symlink(place)) {
      fs::remove(place);
      fs::rename(place.string() + ".real", place);
    }
  }
}

}  // namespace
