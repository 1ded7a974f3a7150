// The local time on POSIX, as the log writes it.
#include <ctime>
#include <string>

#include "platform/local_time.h"

std::string LocalDateTimeText() {
  const time_t now = time(nullptr);
  tm local{};
  char text[32] = "";
  if (localtime_r(&now, &local) != nullptr) {
    strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  }
  return text;
}
