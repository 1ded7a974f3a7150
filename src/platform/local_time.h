// The local time, as the log writes it.
#pragma once

#include <string>

// The local date and time, as "YYYY-MM-DD HH:MM:SS".
std::string LocalDateTimeText();
