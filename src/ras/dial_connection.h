// One dial in progress as the binding tracks it: the caller's notifier, the notifications the
// caller has not read yet, the last one it read, and the device the service last reported. The
// binding's status query hands the queued notifications out one per call, oldest first, so a
// caller that polls sees every dial state even when several came between two polls.
//
// Every CDialConnection is guarded by the dial lock (ras/ras_library.h). Whoever takes one out of
// the dial-connection map deletes it; deleting it releases the notifications still queued.
#pragma once

#include "base/pointer_queue.h"
#include "platform/ras_service.h"
#include "platform_types.h"

// One notification as the service delivered it.
struct DialNotification {
  DWORD message;
  RASCONNSTATE state;
  DWORD error;
};

class CDialConnection {
 public:
  // `notifier` may be null: the notifications are then only queued.
  CDialConnection(RASDIALFUNC notifier, const char* deviceType, const char* deviceName);
  ~CDialConnection();
  CDialConnection(const CDialConnection&) = delete;
  CDialConnection& operator=(const CDialConnection&) = delete;

  // Queues the notification, then forwards it to the caller's notifier. The notifier may end
  // this connection (a hang-up from inside it deletes the object), so nothing touches the
  // object after the call. A notification that cannot be queued for want of memory is still
  // forwarded.
  void Notify(UINT message, RASCONNSTATE state, DWORD error);

  // True once the last notification read said connected and nothing is queued: from then on the
  // service's own answer is the connection's status.
  bool IsSettled() const;

  // Keeps the device names of a status record that the service filled in.
  void RememberDevice(const RASCONNSTATUSA& status);
  // Makes the oldest queued notification the last one read; nothing when none is queued.
  void ReadOldestNotification();
  // The last notification read and the remembered device, into the caller's status record.
  void WriteStatus(RASCONNSTATUSA* status) const;

 private:
  RASDIALFUNC notifier_;
  CPointerQueue notifications_;  // DialNotification records, each its own allocation
  DWORD lastMessage_ = WM_RASDIALEVENT;
  RASCONNSTATE lastState_ = RASCS_OpenPort;
  DWORD lastError_ = 0;
  char deviceType_[17];
  char deviceName_[129];
};
