// Dial connection tracking against the fake service, where the test decides exactly when each
// notification arrives: before the dial returns, between polls, after a hang-up. Leaks of
// connections and their queued notifications show up under LeakSanitizer (host-asan).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/result_codes.h"
#include "ras/dial_connection.h"
#include "ras/fake_ras_service.h"
#include "ras/ras_library.h"

namespace {

const HRASCONN kConnection = reinterpret_cast<HRASCONN>(0x120);
const HRASCONN kOtherConnection = reinterpret_cast<HRASCONN>(0x340);
constexpr unsigned char kUnwritten = 0xEE;

// What the caller's notifier heard, in order.
std::vector<DialNotification> g_heard;

void WINAPI Hear(UINT message, RASCONNSTATE state, DWORD error) {
  g_heard.push_back({message, state, error});
}

void* HearNotifier() {
  return reinterpret_cast<void*>(&Hear);
}

struct StatusAnswer {
  uint32_t result;
  RASCONNSTATUSA record;
};

class DialTrackingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    loader_.Offer("rasapi32.dll");
    ASSERT_EQ(g_rasLibrary.Load(nullptr, nullptr), 0u);
    Fake().calls.clear();
    Fake().result = 0;
    Fake().connection = kConnection;
    Fake().status = PlatformStatus(RASCS_Connected, "modem", "Acme 56k");
    g_heard.clear();
  }

  void TearDown() override { EXPECT_FALSE(g_rasLibrary.DialConnections().HoldsMemory()); }

  static RASCONNSTATUSA PlatformStatus(RASCONNSTATE state, const char* type, const char* name) {
    RASCONNSTATUSA status = {sizeof status, state, 0, {}, {}};
    std::strcpy(status.szDeviceType, type);
    std::strcpy(status.szDeviceName, name);
    return status;
  }

  static HRASCONN Dial() {
    HRASCONN connection = nullptr;
    RASDIALPARAMSA parameters = {};
    EXPECT_EQ(g_rasLibrary.Dial(nullptr, &parameters, 0, HearNotifier(), &connection), 0u);
    return connection;
  }

  static void Deliver(HRASCONN connection, RASCONNSTATE state, DWORD error = 0) {
    Fake().Notifier()(connection, WM_RASDIALEVENT, state, error, 0);
  }

  // The status record starts out with every byte but dwSize unwritten.
  static StatusAnswer Status(HRASCONN connection, DWORD size = sizeof(RASCONNSTATUSA)) {
    StatusAnswer answer;
    std::memset(&answer.record, kUnwritten, sizeof answer.record);
    answer.record.dwSize = size;
    answer.result = g_rasLibrary.GetConnectStatus(connection, &answer.record);
    return answer;
  }

  CFakeLibraryLoader loader_;
};

bool SameRecord(const RASCONNSTATUSA& a, const RASCONNSTATUSA& b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(DialTrackingTest, ForwardsEveryNotificationAndHandsThemOutOldestFirstThenRepeatsTheLast) {
  const HRASCONN connection = Dial();
  EXPECT_EQ(connection, kConnection);
  EXPECT_EQ(Fake().notifierType, 1u);
  EXPECT_EQ(Fake().Notifier(), &CRasLibrary::OnDialEvent);
  Deliver(connection, RASCS_OpenPort);
  Deliver(connection, RASCS_PortOpened);
  Deliver(connection, RASCS_ConnectDevice, 678);
  ASSERT_EQ(g_heard.size(), 3u);
  EXPECT_EQ(g_heard[2].message, WM_RASDIALEVENT);
  EXPECT_EQ(g_heard[2].state, RASCS_ConnectDevice);
  EXPECT_EQ(g_heard[2].error, 678u);
  const struct {
    RASCONNSTATE state;
    DWORD error;
  } expected[] = {{RASCS_OpenPort, 0},
                  {RASCS_PortOpened, 0},
                  {RASCS_ConnectDevice, 678},
                  {RASCS_ConnectDevice, 678}};
  for (const auto& e : expected) {
    SCOPED_TRACE(e.state);
    const StatusAnswer answer = Status(connection);
    EXPECT_EQ(answer.result, 0u);
    EXPECT_EQ(answer.record.rasconnstate, e.state);
    EXPECT_EQ(answer.record.dwError, e.error);
    EXPECT_STREQ(answer.record.szDeviceType, "modem");
    EXPECT_STREQ(answer.record.szDeviceName, "Acme 56k");
  }
  Deliver(connection, RASCS_DeviceConnected);
  EXPECT_EQ(Status(connection).record.rasconnstate, RASCS_DeviceConnected);
  g_rasLibrary.HangUp(connection);
}

TEST_F(DialTrackingTest, NotificationBeforeTheDialReturnsIsReadThroughTheHandle) {
  Fake().duringDial = [] {
    Deliver(kConnection, RASCS_OpenPort);
    Deliver(kConnection, RASCS_PortOpened);
  };
  const HRASCONN connection = Dial();
  Fake().duringDial = nullptr;
  EXPECT_EQ(g_heard.size(), 2u);
  EXPECT_EQ(Status(connection).record.rasconnstate, RASCS_OpenPort);
  EXPECT_EQ(Status(connection).record.rasconnstate, RASCS_PortOpened);
  g_rasLibrary.HangUp(connection);
}

TEST_F(DialTrackingTest, OnceConnectedStateIsReadPassesThePlatformAnswerThrough) {
  const HRASCONN connection = Dial();
  Deliver(connection, RASCS_Connected);
  const StatusAnswer connected = Status(connection);
  EXPECT_EQ(connected.result, 0u);
  EXPECT_EQ(connected.record.rasconnstate, RASCS_Connected);
  // From now on the record is exactly what the platform wrote, whatever it says.
  Fake().status = PlatformStatus(RASCS_Disconnected, "isdn", "Line 2");
  Fake().status.dwError = 629;
  const StatusAnswer passed = Status(connection);
  EXPECT_EQ(passed.result, 0u);
  EXPECT_TRUE(SameRecord(passed.record, Fake().status));
  Fake().result = ERROR_INVALID_HANDLE;
  EXPECT_EQ(Status(connection).result, uint32_t{ERROR_INVALID_HANDLE});
  Fake().result = 0;
  g_rasLibrary.HangUp(connection);
}

TEST_F(DialTrackingTest, BeforeAnyNotificationGivesStateZeroAndRemembersDevicesOfGoodAnswers) {
  const HRASCONN connection = Dial();
  const struct {
    const char* name;
    uint32_t platformResult;
    const char* type;  // the platform's answer, and then what the caller must see
    const char* expectedType;
  } steps[] = {
      {"platform fails first", ERROR_INVALID_HANDLE, "modem", ""},
      {"platform answers", 0, "modem", "modem"},
      {"platform fails later", ERROR_INVALID_HANDLE, "isdn", "modem"},
      {"platform answers again", 0, "isdn", "isdn"},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.name);
    Fake().result = step.platformResult;
    Fake().status = PlatformStatus(RASCS_Connected, step.type, "Acme 56k");
    const StatusAnswer answer = Status(connection);
    EXPECT_EQ(answer.result, 0u);
    EXPECT_EQ(answer.record.rasconnstate, RASCS_OpenPort);
    EXPECT_EQ(answer.record.dwError, 0u);
    EXPECT_STREQ(answer.record.szDeviceType, step.expectedType);
  }
  Fake().result = 0;
  g_rasLibrary.HangUp(connection);
}

TEST_F(DialTrackingTest, WritesOnlyTheFieldsInsideTheRecordSize) {
  const HRASCONN connection = Dial();
  Deliver(connection, RASCS_Authenticate, 691);
  const struct {
    DWORD size;
    uint32_t platformResult;
    uint32_t result;
    size_t writtenUpTo;  // bytes the binding may write; everything after stays unwritten
  } cases[] = {
      {3, 0, ERROR_BUFFER_TOO_SMALL, 4},
      {160, ERROR_BUFFER_TOO_SMALL, ERROR_BUFFER_TOO_SMALL, 4},
      {4, 0, 0, 4},
      {12, 0, 0, 12},
      {20, 0, 0, 12},
      {29, 0, 0, 29},
      {157, 0, 0, 29},
      {158, 0, 0, 158},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    Fake().result = c.platformResult;
    const StatusAnswer answer = Status(connection, c.size);
    EXPECT_EQ(answer.result, c.result);
    const auto* bytes = reinterpret_cast<const unsigned char*>(&answer.record);
    for (size_t i = c.writtenUpTo; i < sizeof answer.record; ++i) {
      ASSERT_EQ(bytes[i], kUnwritten) << "byte " << i;
    }
    if (c.writtenUpTo >= 12) {
      EXPECT_EQ(answer.record.rasconnstate, RASCS_Authenticate);
      EXPECT_EQ(answer.record.dwError, 691u);
    }
  }
  Fake().result = 0;
  g_rasLibrary.HangUp(connection);
}

TEST_F(DialTrackingTest, RefusesEveryNotifierButAGivenSimpleOneAndDialsNothing) {
  const struct {
    DWORD type;
    void* notifier;
    std::vector<std::string> calls;
  } cases[] = {
      {1, HearNotifier(), {"rasapi32.dll:RasHangUpA"}},
      {2, HearNotifier(), {"rasapi32.dll:RasHangUpA"}},
      {0xFFFFFFFF, HearNotifier(), {"rasapi32.dll:RasHangUpA"}},
      {0, nullptr, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    Fake().calls.clear();
    Fake().hungUp.clear();
    HRASCONN connection = kOtherConnection;
    RASDIALPARAMSA parameters = {};
    EXPECT_EQ(g_rasLibrary.Dial(nullptr, &parameters, c.type, c.notifier, &connection),
              uint32_t{ERROR_WRONG_INFO_SPECIFIED});
    EXPECT_EQ(Fake().calls, c.calls);
    if (!c.calls.empty()) {
      EXPECT_EQ(Fake().hungUp, std::vector<HRASCONN>{kOtherConnection});
    }
    EXPECT_EQ(connection, kOtherConnection);
    EXPECT_EQ(g_rasLibrary.DialConnections().Count(), 0u);
  }
}

TEST_F(DialTrackingTest, AfterHangUpStatusIsThePlatformsAndLateNotificationsAreDropped) {
  const HRASCONN connection = Dial();
  Deliver(connection, RASCS_OpenPort);
  Deliver(connection, RASCS_PortOpened);  // still queued when hung up
  g_rasLibrary.HangUp(connection);
  EXPECT_EQ(Fake().hungUp, std::vector<HRASCONN>{connection});
  Fake().status = PlatformStatus(RASCS_Disconnected, "modem", "Acme 56k");
  const StatusAnswer answer = Status(connection);
  EXPECT_EQ(answer.result, 0u);
  EXPECT_TRUE(SameRecord(answer.record, Fake().status));
  Deliver(connection, RASCS_ConnectDevice);
  EXPECT_EQ(g_heard.size(), 2u);
}

TEST_F(DialTrackingTest, HangUpReachesTheServiceForUntrackedHandlesAndSparesThePendingDial) {
  g_rasLibrary.HangUp(kOtherConnection);
  // A hang-up of the null handle while a dial is being started must not orphan that dial.
  Fake().duringDial = [] {
    Deliver(kConnection, RASCS_OpenPort);
    g_rasLibrary.HangUp(nullptr);
    Deliver(kConnection, RASCS_PortOpened);
  };
  const HRASCONN connection = Dial();
  Fake().duringDial = nullptr;
  EXPECT_EQ(Fake().hungUp, (std::vector<HRASCONN>{kOtherConnection, nullptr}));
  EXPECT_EQ(g_heard.size(), 2u);
  Status(connection);
  EXPECT_EQ(Status(connection).record.rasconnstate, RASCS_PortOpened);
  g_rasLibrary.HangUp(connection);
}

TEST_F(DialTrackingTest, MapHoldsNoMemoryOnceTheLastConnectionIsGone) {
  const HRASCONN connection = Dial();
  EXPECT_TRUE(g_rasLibrary.DialConnections().HoldsMemory());
  g_rasLibrary.HangUp(connection);
  EXPECT_FALSE(g_rasLibrary.DialConnections().HoldsMemory());
  // A failed dial leaves nothing behind, not even the notifications it delivered.
  Fake().result = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
  Fake().duringDial = [] { Deliver(kConnection, RASCS_OpenPort, 623); };
  HRASCONN failed = nullptr;
  RASDIALPARAMSA parameters = {};
  EXPECT_EQ(g_rasLibrary.Dial(nullptr, &parameters, 0, HearNotifier(), &failed),
            uint32_t{ERROR_CANNOT_FIND_PHONEBOOK_ENTRY});
  Fake().duringDial = nullptr;
  Fake().result = 0;
  EXPECT_EQ(g_heard.size(), 1u);
  EXPECT_FALSE(g_rasLibrary.DialConnections().HoldsMemory());
  // The next dial builds a fresh table; a handle the service hands out again replaces (and
  // releases) the connection it was tracking.
  Dial();
  EXPECT_TRUE(g_rasLibrary.DialConnections().HoldsMemory());
  Deliver(kConnection, RASCS_OpenPort);
  Dial();
  EXPECT_EQ(g_rasLibrary.DialConnections().Count(), 1u);
  g_rasLibrary.HangUp(kConnection);
}

// The notifier runs with the dial lock held; it may still use the dial operations, even to end
// the connection that it is being told about.
HRASCONN g_endOnConnected = nullptr;

void WINAPI HangUpWhenConnected(UINT, RASCONNSTATE state, DWORD) {
  RASCONNSTATUSA status = {sizeof status, RASCS_OpenPort, 0, {}, {}};
  g_rasLibrary.GetConnectStatus(g_endOnConnected, &status);
  if (state == RASCS_Connected) {
    g_rasLibrary.HangUp(g_endOnConnected);
  }
}

TEST_F(DialTrackingTest, NotifierMayPollAndHangUpItsOwnConnection) {
  HRASCONN connection = nullptr;
  RASDIALPARAMSA parameters = {};
  ASSERT_EQ(g_rasLibrary.Dial(nullptr, &parameters, 0,
                              reinterpret_cast<void*>(&HangUpWhenConnected), &connection),
            0u);
  g_endOnConnected = connection;
  Deliver(connection, RASCS_OpenPort);
  Deliver(connection, RASCS_Connected);
  EXPECT_EQ(Fake().hungUp, std::vector<HRASCONN>{connection});
}

TEST_F(DialTrackingTest, DestroyingABindingReleasesTheConnectionsItStillTracks) {
  CRasLibrary binding;
  ASSERT_EQ(binding.Load(nullptr, nullptr), 0u);
  HRASCONN connection = nullptr;
  RASDIALPARAMSA parameters = {};
  ASSERT_EQ(binding.Dial(nullptr, &parameters, 0, HearNotifier(), &connection), 0u);
  EXPECT_EQ(binding.DialConnections().Count(), 1u);
}

}  // namespace
