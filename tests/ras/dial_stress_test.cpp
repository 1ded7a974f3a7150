// Dial tracking under load: one thread delivers notifications for several connections as fast
// as it can while another polls them all and hangs them up. Every state must reach the poller
// once, in order, for its own connection, and the caller's notifiers must hear every state of a
// connection until it is hung up. Run under ThreadSanitizer (host-tsan) this also proves the
// dial lock guards everything it must.
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "ras/fake_ras_service.h"
#include "ras/ras_library.h"

namespace {

constexpr int kConnections = 4;
constexpr int kNotifications = 100000;
constexpr int kPerConnection = kNotifications / kConnections;
// This connection is hung up halfway through its notifications.
constexpr int kHungUpEarly = kConnections - 1;
constexpr int kHangUpAt = kPerConnection / 2;

// Odd states: never the initial 0, never RASCS_Connected, and the sequence number is recoverable.
RASCONNSTATE StateOf(int sequence) {
  return static_cast<RASCONNSTATE>(2 * sequence + 1);
}

// A RASDIALFUNC does not learn its connection, so each connection gets a notifier of its own.
// Written under the dial lock by the delivering thread, read after it has been joined.
std::vector<RASCONNSTATE> g_heardOn[kConnections];

template <int N>
void WINAPI HearOn(UINT, RASCONNSTATE state, DWORD) {
  g_heardOn[N].push_back(state);
}

const RASDIALFUNC kNotifiers[kConnections] = {&HearOn<0>, &HearOn<1>, &HearOn<2>, &HearOn<3>};

HRASCONN HandleOf(int connection) {
  return reinterpret_cast<HRASCONN>(uintptr_t{0x1000} + 0x10 * connection);
}

TEST(DialStress, PollerSeesEveryStateOnceInOrderWhileAnotherThreadDelivers) {
  CFakeLibraryLoader loader;
  loader.Offer("rasapi32.dll");
  ASSERT_EQ(g_rasLibrary.Load(nullptr, nullptr), 0u);
  Fake().logCalls = false;
  Fake().status = {sizeof(RASCONNSTATUSA), RASCS_Connected, 0, "modem", "Acme"};
  for (int c = 0; c < kConnections; ++c) {
    g_heardOn[c].clear();
    Fake().connection = HandleOf(c);
    HRASCONN connection = nullptr;
    RASDIALPARAMSA parameters = {};
    ASSERT_EQ(g_rasLibrary.Dial(nullptr, &parameters, 0, reinterpret_cast<void*>(kNotifiers[c]),
                                &connection),
              0u);
  }
  const RASDIALFUNC1 notify = Fake().notifier;

  std::thread deliverer([notify] {
    for (int i = 0; i < kNotifications; ++i) {
      const int c = i % kConnections;
      notify(HandleOf(c), WM_RASDIALEVENT, StateOf(i / kConnections), c + 1, 0);
    }
  });

  // The sequence number last read for each connection; -1 before the first. The first status
  // that breaks the order stops the polling and is reported.
  std::vector<int> lastRead(kConnections, -1);
  std::vector<bool> hungUp(kConnections, false);
  struct {
    int connection = -1;
    uint32_t result;
    int state;
    DWORD error;
  } fault;
  for (int open = kConnections; open > 0 && fault.connection < 0;) {
    for (int c = 0; c < kConnections && fault.connection < 0; ++c) {
      if (hungUp[c]) {
        continue;
      }
      RASCONNSTATUSA status = {sizeof status, RASCS_Connected, 0, {}, {}};
      const uint32_t result = g_rasLibrary.GetConnectStatus(HandleOf(c), &status);
      const int state = status.rasconnstate;
      const int sequence = state == 0 ? -1 : (state - 1) / 2;
      const bool inOrder = sequence == lastRead[c] || sequence == lastRead[c] + 1;
      const bool ownState = state == 0 || (state % 2 == 1 && status.dwError == DWORD(c + 1));
      if (result != 0 || !inOrder || !ownState) {
        fault = {c, result, state, status.dwError};
        break;
      }
      lastRead[c] = sequence;
      if ((c == kHungUpEarly && sequence == kHangUpAt) || sequence == kPerConnection - 1) {
        g_rasLibrary.HangUp(HandleOf(c));
        hungUp[c] = true;
        --open;
      }
    }
  }
  deliverer.join();
  EXPECT_EQ(fault.connection, -1) << "after sequence " << lastRead[fault.connection] << ": result "
                                  << fault.result << ", state " << fault.state << ", error "
                                  << fault.error;
  for (int c = 0; c < kConnections; ++c) {
    SCOPED_TRACE(c);
    if (!hungUp[c]) {
      g_rasLibrary.HangUp(HandleOf(c));
    }
    // Heard in order with nothing missing: the whole run, or a prefix up to the hang-up.
    const size_t heard = g_heardOn[c].size();
    EXPECT_TRUE(c == kHungUpEarly ? heard > static_cast<size_t>(kHangUpAt)
                                  : heard == static_cast<size_t>(kPerConnection));
    for (size_t i = 0; i < heard; ++i) {
      ASSERT_EQ(g_heardOn[c][i], StateOf(static_cast<int>(i)));
    }
  }
  EXPECT_FALSE(g_rasLibrary.DialConnections().HoldsMemory());
}

}  // namespace
