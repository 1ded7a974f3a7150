// The platform loader against a real library built beside the test program.
#include "platform/library_loader.h"

#include <gtest/gtest.h>

#include "platform_types.h"

namespace {

TEST(PlatformLibraryLoader, LoadsLibraryBesideProgramAndFindsItsEntryPoints) {
  CLibraryLoader& loader = PlatformLibraryLoader();
  LibraryHandle library = loader.LoadByName("loadertest.dll");
  ASSERT_NE(library, nullptr);
  using AnswerProc = int(WINAPI*)();
  auto answer = reinterpret_cast<AnswerProc>(loader.FindEntryPoint(library, "LoaderTestAnswer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  EXPECT_EQ(loader.FindEntryPoint(library, "NoSuchEntryPoint"), nullptr);
  loader.Release(library);
  EXPECT_EQ(loader.LoadByName("no-such-library.dll"), nullptr);
}

// Loads nothing: only whether it is the loader in use counts.
class NullLoader final : public CLibraryLoader {
 public:
  LibraryHandle LoadByName(const char*) override { return nullptr; }
  EntryPoint FindEntryPoint(LibraryHandle, const char*) override { return nullptr; }
  void Release(LibraryHandle) override {}
};

TEST(LibraryLoaderSeam, ReplacementIsUsedUntilRestored) {
  NullLoader fake;
  EXPECT_EQ(&CurrentLibraryLoader(), &PlatformLibraryLoader());
  EXPECT_EQ(ReplaceLibraryLoader(&fake), nullptr);
  EXPECT_EQ(&CurrentLibraryLoader(), &fake);
  EXPECT_EQ(ReplaceLibraryLoader(nullptr), &fake);
  EXPECT_EQ(&CurrentLibraryLoader(), &PlatformLibraryLoader());
}

}  // namespace
