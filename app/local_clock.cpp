#include "local_clock.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

#include "wide_text.h"
#else
#include <ctime>
#endif

namespace qm {

namespace {

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}

bool ReadDigits(const std::string& text, size_t pos, size_t count, int& value) {
  value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

bool ParseClockReading(const std::string& text, TClockReading& r) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
      text[16] != ':')
    return false;
  TClockReading v;
  if (!ReadDigits(text, 0, 4, v.Year) || !ReadDigits(text, 5, 2, v.Month) || !ReadDigits(text, 8, 2, v.Day) ||
      !ReadDigits(text, 11, 2, v.Hour) || !ReadDigits(text, 14, 2, v.Minute) || !ReadDigits(text, 17, 2, v.Second))
    return false;
  // The Windows date functions reject years before 1601.
  if (v.Year < 1601 || v.Month < 1 || v.Month > 12 || v.Day < 1 || v.Day > DaysInMonth(v.Year, v.Month) ||
      v.Hour > 23 || v.Minute > 59 || v.Second > 59)
    return false;
  r = v;
  return true;
}

TLocalTime ChineseDateTime(const TClockReading& r) {
  char date[32];
  char time[32];
  std::snprintf(date, sizeof date, "%d/%d/%d", r.Year, r.Month, r.Day);
  std::snprintf(time, sizeof time, "%d:%02d:%02d", r.Hour, r.Minute, r.Second);
  return {date, time};
}

#ifdef _WIN32

namespace {

TLocalTime Format(const SYSTEMTIME& st) {
  wchar_t date[128] = L"";
  wchar_t time[128] = L"";
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128);
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128);
  return {Utf8FromWide(date), Utf8FromWide(time)};
}

}  // namespace

TLocalTime FormatLocalTime(const TClockReading& r) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(r.Year);
  st.wMonth = static_cast<WORD>(r.Month);
  st.wDay = static_cast<WORD>(r.Day);
  st.wHour = static_cast<WORD>(r.Hour);
  st.wMinute = static_cast<WORD>(r.Minute);
  st.wSecond = static_cast<WORD>(r.Second);
  return Format(st);
}

TLocalTime LocalNow() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return Format(st);
}

#else

TLocalTime FormatLocalTime(const TClockReading& r) { return ChineseDateTime(r); }

TLocalTime LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return FormatLocalTime({tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

#endif

}  // namespace qm
