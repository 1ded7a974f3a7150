// Dial connection tracking against the fake service, where the test decides exactly when each
// notification arrives: before the dial returns, between polls, after a hang-up; and under load
// from another thread. Leaks of connections and their queued notifications show up under
// LeakSanitizer (host-asan), unguarded access under ThreadSanitizer (host-tsan).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/thread.h"
#include "platform/result_codes.h"
#include "ras/fake_ras_service.h"
#include "ras/ras_library.h"

namespace {

using Handles = std::vector<HRASCONN>;

const HRASCONN kConnection = reinterpret_cast<HRASCONN>(0x120);
const HRASCONN kOtherConnection = reinterpret_cast<HRASCONN>(0x340);
constexpr unsigned char kUnwritten = 0xEE;

// What the caller's notifier heard, in order: "state/error " for each dial event.
std::string g_heard;

void WINAPI Hear(UINT message, RASCONNSTATE state, DWORD error) {
  g_heard += (message == WM_RASDIALEVENT ? "" : "?") + std::to_string(state) + "/" +
             std::to_string(error) + " ";
}

void* const kHear = reinterpret_cast<void*>(&Hear);

void Deliver(HRASCONN connection, RASCONNSTATE state, DWORD error = 0) {
  Fake().notifier(connection, WM_RASDIALEVENT, state, error, 0);
}

// The caller's variable holds another handle before the dial, which a dial refused for its
// notifier type hangs up, as the platform does.
HRASCONN Dial(void* notifier = kHear, DWORD type = 0, CRasLibrary& ras = g_rasLibrary) {
  HRASCONN connection = kOtherConnection;
  RASDIALPARAMSA parameters = {};
  EXPECT_EQ(ras.Dial(nullptr, &parameters, type, notifier, &connection), Fake().result);
  return connection;
}

// The caller's record starts out with every byte but dwSize unwritten.
uint32_t Status(HRASCONN connection, RASCONNSTATUSA* record, DWORD size = sizeof(RASCONNSTATUSA)) {
  std::memset(record, kUnwritten, sizeof *record);
  record->dwSize = size;
  return g_rasLibrary.GetConnectStatus(connection, record);
}

// A status answer, where the platform answers `platformResult`, as "state error type/name", "the
// platform's" when it is exactly what the platform answered, or "result N" when it failed.
std::string Read(HRASCONN connection, DWORD platformResult = 0) {
  Fake().result = platformResult;
  RASCONNSTATUSA r;
  if (const uint32_t result = Status(connection, &r)) {
    return "result " + std::to_string(result);
  }
  if (std::memcmp(&r, &Fake().status, sizeof r) == 0) {
    return "the platform's";
  }
  return std::to_string(r.rasconnstate) + " " + std::to_string(r.dwError) + " " + r.szDeviceType +
         "/" + r.szDeviceName;
}

class DialTrackingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loader_.Offer("rasapi32.dll");
    ASSERT_EQ(g_rasLibrary.Load(nullptr, nullptr), 0u);
    Fake().connection = kConnection;
    Fake().status = {sizeof(RASCONNSTATUSA), RASCS_Disconnected, 0, "modem", "Acme 56k"};
    g_heard.clear();
  }
  void TearDown() override { EXPECT_FALSE(g_rasLibrary.DialConnections().HoldsMemory()); }

  CFakeLibraryLoader loader_;
};

TEST_F(DialTrackingTest, HandsOutEveryStateOnceOldestFirstThenThePlatformsOwnAnswer) {
  const HRASCONN connection = Dial();
  EXPECT_EQ(Fake().notifierType, 1u);
  // Before any notification: state 0, with the device of the platform's last good answer.
  EXPECT_EQ(Read(connection, ERROR_INVALID_HANDLE), "0 0 /");
  EXPECT_EQ(Read(connection), "0 0 modem/Acme 56k");

  Deliver(connection, RASCS_PortOpened);
  Deliver(connection, RASCS_ConnectDevice, 678);
  Deliver(connection, RASCS_DeviceConnected, 5);
  EXPECT_EQ(Read(connection), "1 0 modem/Acme 56k");
  EXPECT_EQ(Read(connection), "2 678 modem/Acme 56k");
  EXPECT_EQ(Read(connection), "3 5 modem/Acme 56k");
  EXPECT_EQ(Read(connection), "3 5 modem/Acme 56k");  // the last one read, again
  Deliver(connection, RASCS_Connected);
  EXPECT_EQ(Read(connection), "8192 0 modem/Acme 56k");  // connected
  // Connected has been read and nothing is queued: from now on the platform answers.
  Fake().status = {sizeof(RASCONNSTATUSA), RASCS_Disconnected, 629, "isdn", "Acme 56k"};
  EXPECT_EQ(Read(connection), "the platform's");
  EXPECT_EQ(Read(connection, ERROR_INVALID_HANDLE), "result 6");
  // A state after connected is queued and handed out as any other.
  Deliver(connection, RASCS_Authenticate, 7);
  EXPECT_EQ(Read(connection), "5 7 isdn/Acme 56k");
  // A state still queued at the hang-up is never handed out, nor is a late one heard.
  Deliver(connection, RASCS_AuthNotify);
  g_rasLibrary.HangUp(connection);
  EXPECT_EQ(Read(connection), "the platform's");
  Deliver(connection, RASCS_ConnectDevice);
  EXPECT_EQ(g_heard, "1/0 2/678 3/5 8192/0 5/7 6/0 ");
}

TEST_F(DialTrackingTest, WritesOnlyTheFieldsInsideTheRecordSize) {
  const HRASCONN connection = Dial();
  Deliver(connection, RASCS_Authenticate, 691);
  // clang-format off
  const struct {
    DWORD size;
    uint32_t platformResult;
    uint32_t result;
    size_t writtenUpTo;  // bytes the binding may write; everything after stays unwritten
  } cases[] = {
      {3, 0, ERROR_BUFFER_TOO_SMALL, 4}, {160, ERROR_BUFFER_TOO_SMALL, ERROR_BUFFER_TOO_SMALL, 4},
      {4, 0, 0, 4}, {12, 0, 0, 12}, {20, 0, 0, 12}, {157, 0, 0, 29},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    Fake().result = c.platformResult;
    RASCONNSTATUSA record;
    EXPECT_EQ(Status(connection, &record, c.size), c.result);
    const std::string after(reinterpret_cast<const char*>(&record) + c.writtenUpTo,
                            sizeof record - c.writtenUpTo);
    EXPECT_EQ(after, std::string(after.size(), kUnwritten));
    if (c.writtenUpTo >= 12) {
      EXPECT_EQ(record.rasconnstate, RASCS_Authenticate);
      EXPECT_EQ(record.dwError, 691u);
    }
  }
  g_rasLibrary.HangUp(connection);
}

TEST_F(DialTrackingTest, RefusesEveryNotifierButAGivenSimpleOneAndDialsNothing) {
  for (const DWORD type : {1, 2, 0}) {
    SCOPED_TRACE(type);
    Fake() = FakeService();
    Fake().result = ERROR_WRONG_INFO_SPECIFIED;  // the binding's own answer, which Dial expects
    EXPECT_EQ(Dial(type != 0 ? kHear : nullptr, type), kOtherConnection);
    EXPECT_EQ(Fake().hungUp, type != 0 ? Handles{kOtherConnection} : Handles{});
    EXPECT_EQ(Fake().calls.size(), Fake().hungUp.size());  // nothing but the hang-up
    EXPECT_EQ(g_rasLibrary.DialConnections().Count(), 0u);
  }
}

// A hang-up of an untracked handle still reaches the service, and one of the null handle while a
// dial is being started must not orphan that dial. A failed dial leaves nothing behind, not even
// the notifications it delivered; a handle the service hands out again replaces (and releases)
// the connection it was tracking; a binding that goes releases those it still tracks.
TEST_F(DialTrackingTest, KeepsExactlyTheConnectionsThatAreUnderWay) {
  g_rasLibrary.HangUp(kOtherConnection);
  Fake().duringDial = [] {
    Deliver(kConnection, RASCS_OpenPort);
    g_rasLibrary.HangUp(nullptr);
    Deliver(kConnection, RASCS_PortOpened);
  };
  const HRASCONN connection = Dial();
  EXPECT_EQ(Fake().hungUp, (Handles{kOtherConnection, nullptr}));
  EXPECT_EQ(g_heard, "0/0 1/0 ");
  EXPECT_EQ(Read(connection), "0 0 modem/Acme 56k");
  EXPECT_EQ(Read(connection), "1 0 modem/Acme 56k");
  g_rasLibrary.HangUp(connection);

  Fake().result = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  Fake().duringDial = [] { Deliver(kConnection, RASCS_OpenPort, 623); };
  Dial();
  Fake().duringDial = nullptr;
  Fake().result = 0;
  EXPECT_FALSE(g_rasLibrary.DialConnections().HoldsMemory());
  Dial();
  Deliver(kConnection, RASCS_OpenPort);
  Dial();
  EXPECT_EQ(g_rasLibrary.DialConnections().Count(), 1u);
  g_rasLibrary.HangUp(kConnection);

  CRasLibrary binding;
  ASSERT_EQ(binding.Load(nullptr, nullptr), 0u);
  Dial(kHear, 0, binding);
  EXPECT_EQ(binding.DialConnections().Count(), 1u);
}

// The notifier runs with the dial lock held; it may still use the dial operations, even to end
// the connection that it is being told about.
void WINAPI HangUpWhenConnected(UINT, RASCONNSTATE state, DWORD) {
  Read(kConnection);
  if (state == RASCS_Connected) {
    g_rasLibrary.HangUp(kConnection);
  }
}

TEST_F(DialTrackingTest, NotifierMayPollAndHangUpItsOwnConnection) {
  const HRASCONN connection = Dial(reinterpret_cast<void*>(&HangUpWhenConnected));
  Deliver(connection, RASCS_OpenPort);
  Deliver(connection, RASCS_Connected);
  EXPECT_EQ(Fake().hungUp, Handles{connection});
}

// Under load, which ThreadSanitizer (host-tsan) watches for unguarded access: one thread delivers
// the states of two connections as fast as it can while this one polls both, and hangs the second
// up once it has read one of its states. A poll gives the state read last or the one after it,
// never another; the first connection's notifier hears every state in order, the second's every
// state up to its hang-up.
constexpr int kStates = 5000;  // below RASCS_Connected, after which the platform would answer
int g_heardInOrder[2];         // written under the dial lock by the delivering thread; -1: disorder

void WINAPI HearInOrder(UINT, RASCONNSTATE state, DWORD connection) {
  int& heard = g_heardInOrder[connection];
  heard = heard >= 0 && state == heard + 1 ? heard + 1 : -1;
}

TEST_F(DialTrackingTest, PollerSeesEveryStateOnceInOrderWhileAnotherThreadDelivers) {
  const HRASCONN handles[] = {kConnection, kOtherConnection};
  for (int c = 0; c < 2; ++c) {
    g_heardInOrder[c] = 0;
    Fake().connection = handles[c];
    Dial(reinterpret_cast<void*>(&HearInOrder));
  }
  CThread deliverer;
  ASSERT_TRUE(deliverer.Start([handles] {
    for (int state = 1; state <= kStates; ++state) {
      for (int c = 0; c < 2; ++c) {
        Deliver(handles[c], static_cast<RASCONNSTATE>(state), c);
      }
    }
  }));
  int lastRead[2] = {0, 0};  // -1 once hung up
  while (lastRead[0] < kStates) {
    for (int c = 0; c < 2 && lastRead[c] >= 0; ++c) {
      RASCONNSTATUSA status = {sizeof status, RASCS_Connected, 0, {}, {}};
      ASSERT_EQ(g_rasLibrary.GetConnectStatus(handles[c], &status), 0u);
      const int state = status.rasconnstate;
      ASSERT_TRUE(state == lastRead[c] || state == lastRead[c] + 1)
          << c << " after " << lastRead[c] << ": " << state;
      lastRead[c] = c == 1 && state > 0 ? -1 : state;
      if (lastRead[c] < 0) {
        g_rasLibrary.HangUp(handles[c]);
      }
    }
  }
  deliverer.Join();
  g_rasLibrary.HangUp(handles[0]);
  EXPECT_EQ(g_heardInOrder[0], kStates);
  EXPECT_GT(g_heardInOrder[1], 0);
}

}  // namespace
