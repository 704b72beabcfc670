#pragma once
// The date and time written into line 9 of every script.

#include <string>

#include "form_host.h"

namespace qm {

struct TClockReading {
  int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// Parses "YYYY-MM-DD HH:MM:SS" (a real calendar date and time of day).
bool ParseClockReading(const std::string& text, TClockReading& reading);

// The zh-CN short date and long time forms, yyyy/M/d and H:mm:ss, on every
// platform: what a fixed clock writes, so that it gives the same bytes
// whatever machine runs it.
TLocalTime ChineseDateTime(const TClockReading& reading);

// The reading in the short date and long time forms: the user's locale on
// Windows, the zh-CN forms elsewhere.
TLocalTime FormatLocalTime(const TClockReading& reading);

// The current local date and time, formatted as above.
TLocalTime LocalNow();

}  // namespace qm
