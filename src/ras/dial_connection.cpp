// A tracked dial. Status records are read and written field by field, and only the fields that
// lie wholly inside the record's dwSize: a caller that offers a short record gets less, never a
// write past its end.
#include "ras/dial_connection.h"

#include <cstddef>
#include <new>

#include "base/text.h"

namespace {

// True when the field at `offset` of `size` bytes lies inside the caller's record.
bool FieldFits(const RASCONNSTATUSA& status, size_t offset, size_t size) {
  return status.dwSize >= offset + size;
}

#define DIALKIT_FIELD_FITS(status, field) \
  FieldFits(status, offsetof(RASCONNSTATUSA, field), sizeof(RASCONNSTATUSA::field))

}  // namespace

CDialConnection::CDialConnection(RASDIALFUNC notifier, const char* deviceType,
                                 const char* deviceName)
    : notifier_(notifier) {
  CopyText(deviceType_, deviceType);
  CopyText(deviceName_, deviceName);
}

CDialConnection::~CDialConnection() {
  while (void* queued = notifications_.TakeOldest()) {
    delete static_cast<DialNotification*>(queued);
  }
}

void CDialConnection::Notify(UINT message, RASCONNSTATE state, DWORD error) {
  // cppcheck-suppress unreadVariable ; read just below: cppcheck misreads new (std::nothrow) T{}
  auto* notification = new (std::nothrow) DialNotification{message, state, error};
  if (notification != nullptr && !notifications_.Append(notification)) {
    delete notification;
  }
  if (notifier_ != nullptr) {
    notifier_(message, state, error);
  }
}

bool CDialConnection::IsSettled() const {
  return lastState_ == RASCS_Connected && notifications_.IsEmpty();
}

void CDialConnection::RememberDevice(const RASCONNSTATUSA& status) {
  // The service terminates its names; the copies are bounded by the field all the same.
  if (DIALKIT_FIELD_FITS(status, szDeviceType)) {
    CopyText(deviceType_, sizeof deviceType_, status.szDeviceType, sizeof deviceType_ - 1);
  }
  if (DIALKIT_FIELD_FITS(status, szDeviceName)) {
    CopyText(deviceName_, sizeof deviceName_, status.szDeviceName, sizeof deviceName_ - 1);
  }
}

void CDialConnection::ReadOldestNotification() {
  auto* oldest = static_cast<DialNotification*>(notifications_.TakeOldest());
  if (oldest == nullptr) {
    return;
  }
  lastMessage_ = oldest->message;
  lastState_ = oldest->state;
  lastError_ = oldest->error;
  delete oldest;
}

void CDialConnection::WriteStatus(RASCONNSTATUSA* status) const {
  if (DIALKIT_FIELD_FITS(*status, rasconnstate)) {
    status->rasconnstate = lastState_;
  }
  if (DIALKIT_FIELD_FITS(*status, dwError)) {
    status->dwError = lastError_;
  }
  if (DIALKIT_FIELD_FITS(*status, szDeviceType)) {
    CopyText(status->szDeviceType, deviceType_);
  }
  if (DIALKIT_FIELD_FITS(*status, szDeviceName)) {
    CopyText(status->szDeviceName, deviceName_);
  }
}
