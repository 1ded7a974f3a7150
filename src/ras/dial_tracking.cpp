// Dial connection tracking: Dial, GetConnectStatus, HangUp and the binding's own notifier.
//
// Who owns a CDialConnection: the Dial call that created it, until it enters the map under its
// connection handle; from then on the map, until HangUp (or the binding's destruction) takes it
// out and deletes it. The pending entry under key 0 only lends the object to OnDialEvent while
// the service starts the dial: it is never deleted from there, because a second Dial started in
// that window replaces the entry while the first Dial still owns its object.
#include <mutex>
#include <new>

#include "base/handle_map.h"
#include "platform/result_codes.h"
#include "ras/dial_connection.h"
#include "ras/entry_point_call.h"
#include "ras/ras_library.h"

namespace {

constexpr CHandleMap::Key kPendingDial = 0;

// The notifier type of RASDIALFUNC1, the form OnDialEvent has.
constexpr DWORD kNotifierWithHandle = 1;

CHandleMap::Key KeyOf(HRASCONN connection) {
  return reinterpret_cast<CHandleMap::Key>(connection);
}

CDialConnection* Tracked(const CHandleMap& map, CHandleMap::Key key) {
  void* value = nullptr;
  return map.Lookup(key, &value) ? static_cast<CDialConnection*>(value) : nullptr;
}

}  // namespace

CRasLibrary::~CRasLibrary() {
  // Process exit: the dial lock is gone already and no dial can be under way.
  dialConnections_.ForEach([](CHandleMap::Key key, void* value) {
    if (key != kPendingDial) {
      delete static_cast<CDialConnection*>(value);
    }
  });
  dialConnections_.RemoveAll();
}

uint32_t CRasLibrary::Dial(RASDIALEXTENSIONS* extensions, RASDIALPARAMSA* parameters,
                           DWORD notifierType, void* notifier, HRASCONN* connection) {
  if (notifierType != 0) {
    if (connection != nullptr) {
      CallEntryPoint(hangUp_, *connection);
    }
    return ERROR_WRONG_INFO_SPECIFIED;
  }
  // Every dial is asynchronous here, so a caller without a notifier would take a dial that has
  // only started for one that has finished.
  if (notifier == nullptr) {
    return ERROR_WRONG_INFO_SPECIFIED;
  }
  auto* dialled =
      new (std::nothrow) CDialConnection(reinterpret_cast<RASDIALFUNC>(notifier), "", "");
  if (dialled == nullptr) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  {
    std::lock_guard<CCriticalSection> lock(g_dialLock);
    if (!dialConnections_.SetAt(kPendingDial, dialled)) {
      delete dialled;
      return ERROR_NOT_ENOUGH_MEMORY;
    }
  }
  // Without the lock: the service may deliver notifications before it returns the handle, and
  // OnDialEvent finds them a home under the pending key.
  const uint32_t result =
      CallEntryPoint(dial_, extensions, phoneBookPath_, parameters, kNotifierWithHandle,
                     reinterpret_cast<void*>(&CRasLibrary::OnDialEvent), connection);

  std::lock_guard<CCriticalSection> lock(g_dialLock);
  dialConnections_.RemoveKey(kPendingDial);
  if (result != 0) {
    delete dialled;
    return result;
  }
  void* replaced = nullptr;
  if (!dialConnections_.SetAt(KeyOf(*connection), dialled, &replaced)) {
    // A connection that nobody could read or hang up through the binding is ended at once.
    CallEntryPoint(hangUp_, *connection);
    delete dialled;
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  // The service reused the handle of a connection that was never hung up through the binding.
  delete static_cast<CDialConnection*>(replaced);
  return 0;
}

uint32_t CRasLibrary::GetConnectStatus(HRASCONN connection, RASCONNSTATUSA* status) {
  const uint32_t result = CallEntryPoint(getConnectStatus_, connection, status);
  if (result == ERROR_BUFFER_TOO_SMALL) {
    return result;
  }
  if (status == nullptr) {
    return result;
  }
  if (status->dwSize < sizeof status->dwSize) {
    return ERROR_BUFFER_TOO_SMALL;
  }
  std::lock_guard<CCriticalSection> lock(g_dialLock);
  CDialConnection* tracked =
      connection != nullptr ? Tracked(dialConnections_, KeyOf(connection)) : nullptr;
  if (tracked == nullptr || tracked->IsSettled()) {
    return result;
  }
  if (result == 0) {
    tracked->RememberDevice(*status);
  }
  tracked->ReadOldestNotification();
  tracked->WriteStatus(status);
  return 0;
}

void CRasLibrary::HangUp(HRASCONN connection) {
  std::lock_guard<CCriticalSection> lock(g_dialLock);
  // No connection has the handle 0: that key belongs to the dial being started, which must keep
  // receiving its notifications.
  void* removed = nullptr;
  if (connection != nullptr && dialConnections_.RemoveKey(KeyOf(connection), &removed)) {
    delete static_cast<CDialConnection*>(removed);
  }
  // Under the lock, as the caller's notifier runs; the service does not wait for a notifier.
  CallEntryPoint(hangUp_, connection);
}

void WINAPI CRasLibrary::OnDialEvent(HRASCONN connection, UINT message, RASCONNSTATE state,
                                     DWORD error, DWORD) {
  std::lock_guard<CCriticalSection> lock(g_dialLock);
  const CHandleMap& map = g_rasLibrary.dialConnections_;
  CDialConnection* tracked = Tracked(map, KeyOf(connection));
  if (tracked == nullptr) {
    tracked = Tracked(map, kPendingDial);
  }
  if (tracked != nullptr) {
    tracked->Notify(message, state, error);
  }
}
