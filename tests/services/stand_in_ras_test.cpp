// The stand-in Remote Access Service as the tool meets it: rasapi32.dll and altras.dll loaded by
// the platform's loader (under Wine in place of Wine's own rasapi32), with their data in a
// stand-in system of each test. What the tool's own tests show through it end to end (devices as
// installed, names it refuses, an entry stored or failing to be, a function made to fail) is not
// repeated here.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "base/text.h"
#include "entry/entry_record.h"
#include "platform/library_loader.h"
#include "platform/ras_service.h"
#include "service_contract.h"
#include "support/stand_in_system.h"

namespace {

class StandInServiceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(rasapi32_ != nullptr && altras_ != nullptr); }
  ~StandInServiceTest() override {
    for (LibraryHandle library : {rasapi32_, altras_}) {
      if (library != nullptr) {
        PlatformLibraryLoader().Release(library);
      }
    }
  }

  // From rasapi32.dll unless another library is named.
  template <typename Function>
  Function Find(const char* name, LibraryHandle library = nullptr) {
    auto function = reinterpret_cast<Function>(
        PlatformLibraryLoader().FindEntryPoint(library ? library : rasapi32_, name));
    EXPECT_NE(function, nullptr) << name;
    return function;
  }

  DWORD Store(const char* name, RASENTRYA entry, LibraryHandle library = nullptr) {
    return Find<RasSetEntryPropertiesAProc>("RasSetEntryPropertiesA", library)(
        nullptr, name, &entry, sizeof entry, nullptr, 0);
  }

  test::ScopedStandInSystem system_;
  LibraryHandle rasapi32_ = PlatformLibraryLoader().LoadByName("rasapi32.dll");
  LibraryHandle altras_ = PlatformLibraryLoader().LoadByName("altras.dll");
  const test::FindFunction find_ = [this](const char* name) { return Find<EntryPoint>(name); };
};

// Fields of every kind set: numbers, named and unnamed bits, addresses, and texts, one of them
// with bytes that a name may not hold.
RASENTRYA FullEntry(const char* text) {
  RASENTRYA r = {};
  r.dwSize = kEntryRecordSize;
  r.dwfOptions = RASEO_NetworkLogon | RASEO_SpecificIpAddr | 0x00010000;
  r.dwfNetProtocols = RASNP_Ip | RASNP_Ipx | 0x80;
  r.dwCountryID = 49;
  r.dwCountryCode = 49;  // 0 would come back as the country's code
  r.dwReserved2 = 4000000000u;
  r.ipaddrDns = {192, 168, 1, 255};
  r.ipaddrWinsAlt = {9, 10, 11, 12};
  CopyText(r.szLocalPhoneNumber, text);
  CopyText(r.szDeviceName, text);
  CopyText(r.szX25UserData, "line\nbreak\t");
  return r;
}

// Stored through the alternative library, read through rasapi32.dll: the two share the phone
// book, as the binding needs when it uses both, and each record comes back exactly; a phone book
// that is not there cannot be listed.
TEST_F(StandInServiceTest, KeepsEntriesExactlyInThePhoneBookNamed) {
  const auto getEntry = Find<RasGetEntryPropertiesAProc>("RasGetEntryPropertiesA");
  const auto enumEntries = Find<RasEnumEntriesAProc>("RasEnumEntriesA");
  const std::vector<std::string> names = {"My ISP", "[Work] (fast)", " 100%", "#no", "\xE4\xF6"};
  for (const std::string& name : names) {
    ASSERT_EQ(Store(name.c_str(), FullEntry(name.c_str()), altras_), 0u) << name;
  }
  RASENTRYNAMEA list[8] = {{sizeof list[0], {}}};
  DWORD size = sizeof list;
  DWORD count = 0;
  ASSERT_EQ(enumEntries(nullptr, nullptr, list, &size, &count), 0u);
  ASSERT_EQ(count, names.size());
  for (DWORD i = 0; i < count; ++i) {
    SCOPED_TRACE(names[i]);
    RASENTRYA read = {};
    read.dwSize = kEntryRecordSize;
    ASSERT_EQ(getEntry(nullptr, list[i].szEntryName, &read, &(size = 1768), nullptr, nullptr), 0u);
    const RASENTRYA expected = FullEntry(names[i].c_str());
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0);
  }
  // A readable file in the system phone book.
  const std::string text = system_.PhoneBook();
  for (const char* line : {"\n[My ISP]\n", "\nOptions=SpecificIpAddr NetworkLogon 0x00010000\n",
                           "\nipaddrDns=192.168.1.255\n", "\nNetProtocols=IPX IP 0x00000080\n"}) {
    EXPECT_NE(text.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(enumEntries(nullptr, system_.Root().File("phone.pbk").c_str(), list, &size, &count),
            621u);
}

// The platform's refusals; a dial tells each state once, in order, to connected or to the failure
// ordered; and a hang-up while the notifier's first call is in progress ends the dial there
// without waiting for the call: were it to wait, this test would never end.
TEST_F(StandInServiceTest, RefusesAndDialsAsThePlatformDoes) {
  test::WriteFileBytes(system_.Root().File("system32/ras/failures.txt"),
                       "RasDialA Work = 691 Authenticate\n");
  for (const char* name : {"My ISP", "Work"}) {
    ASSERT_EQ(Store(name, FullEntry("Acme")), 0u);
  }
  test::ExpectThePlatformsRefusals(find_);
  EXPECT_EQ(test::DialAndHangUp(find_, "my isp", 1),
            "0/0 1/0 2/0 3/0 4/0 5/0 6/0 10/0 14/0 8192/0 | 8192/0 Acme");
  EXPECT_EQ(test::DialAndHangUp(find_, "work", 1), "0/0 1/0 2/0 3/0 4/0 5/691 | 5/691 Acme");
  EXPECT_EQ(test::DialAndHangUp(find_, "my isp", 1, true), "0/0 | 0/0 Acme");  // held, hung up
}

void WINAPI LingerOnSecondState(UINT, RASCONNSTATE state, DWORD) {
  if (state == RASCS_PortOpened) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// A program that ends while its dials are under way, one between two states and one inside a
// notifier call, and the service already released, must end, and end well: the service's threads
// are still running when the process ends (POSIX) or are ended by the platform before the service
// is unloaded (Windows).
TEST_F(StandInServiceTest, AProgramEndsWhileItsDialsAreUnderWay) {
  // A program of its own, not a fork of this one and its threads; under qemu-user, which cannot
  // start a program of another machine again, a fork.
#ifndef DIALKIT_TESTS_EMULATED
  GTEST_FLAG_SET(death_test_style, "threadsafe");
#endif
  ASSERT_EQ(Store("Exit", FullEntry("Acme")), 0u);
  const auto dial = Find<RasDialAProc>("RasDialA");
  RASDIALPARAMSA parameters = test::DialParameters("Exit");
  HRASCONN connection = nullptr;  // neither is hung up
  EXPECT_EXIT(
      {
        const DWORD failed = dial(nullptr, nullptr, &parameters, 0,
                                  reinterpret_cast<void*>(&LingerOnSecondState), &connection) |
                             dial(nullptr, nullptr, &parameters, 0,
                                  reinterpret_cast<void*>(&test::HearDial), &connection);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        PlatformLibraryLoader().Release(rasapi32_);
        std::exit(static_cast<int>(failed));
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
