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

// The library in its directory, and the owner of the tool that asks.
struct Place {
  fs::path directory;
  fs::path library;
  uid_t owner;
};

struct TrustRow {
  const char* what;
  void (*open)(Place& place);
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
    {"closed to others", [](Place&) {}, true},
    {"closed to others, every directory up to the root (a temporary one is sticky)", [](Place&) {},
     true, true},
    {"a directory anyone can write", [](Place& p) { chmod(p.directory.c_str(), 0757); }, false},
    {"a library its group can write", [](Place& p) { chmod(p.library.c_str(), 0664); }, false},
    {"a library of another user", [](Place& p) { MakeForeign(p.library, p.owner); }, false},
    {"a directory of another user", [](Place& p) { MakeForeign(p.directory, p.owner); }, false},
    {"the library a symbolic link to one that is trusted",
     [](Place& p) {
       fs::rename(p.library, p.directory / "real.so");
       fs::create_symlink(p.directory / "real.so", p.library);
     },
     false},
    {"a symbolic link on the way",
     [](Place& p) {
       fs::rename(p.directory, p.directory.string() + ".real");
       fs::create_directory_symlink(p.directory.string() + ".real", p.directory);
     },
     false, true},
    // The stand-in system directory that the environment names, for a tool that root owns and
    // runs: a directory of a user (another, or without root the test's own) is not root's.
    {"root's tool, and a system directory of a user",
     [](Place& p) {
       MakeForeign(p.directory, p.owner);
       p.owner = 0;
     },
     false, true},
};

TEST(LibraryTrust, NobodyButRootAndTheToolsOwnerCanHaveChangedIt) {
  for (const TrustRow& row : kRows) {
    SCOPED_TRACE(row.what);
    const test::ScopedTempDirectory directory;
    Place place = {directory.path() / "lib", directory.path() / "lib" / "rasapi32.dll.so",
                   getuid()};
    fs::create_directory(place.directory);
    chmod(directory.path().c_str(), 0755);
    chmod(place.directory.c_str(), 0755);
    test::WriteFileBytes(place.library.string(), "library");
    chmod(place.library.c_str(), 0644);
    row.open(place);
    const std::string top = row.fromRoot ? "/" : place.directory.string() + "/";
    EXPECT_EQ(IsTrustedLibrary(place.library.string(), top, place.owner), row.trusted);
  }
}

}  // namespace
