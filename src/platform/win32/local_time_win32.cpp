// The local time on Windows, as the log writes it.
#include <windows.h>

#include <string>

#include "base/text.h"
#include "platform/local_time.h"

std::string LocalDateTimeText() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  char text[32] = "";
  FormatText(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
  return text;
}
