// The counters of zor numeric --since: accident-free days counted from a date.
#pragma once

#include <string>

namespace zor::tool {

// Days since 1970-01-01 of a proleptic Gregorian date.
long DaysFromCivil(int year, int month, int day);

// Parses YYYY-MM-DD (a real calendar date, year 1 to 9999), the value of option. False when it
// is not one, with *error saying which: "--since needs a date as YYYY-MM-DD, not ..." for another
// form, "--since 2026-02-30: there is no such date (February 2026 has 28 days)" for a day, month
// or year that does not exist.
bool ParseDate(const std::string &text, long *days, const std::string &option, std::string *error);

// The counters to send: *days the whole days from since to today (both YYYY-MM-DD; today empty
// means the local date now), *accidents the text of accidents (empty means 0). Both are checked
// as the Numeric fields dialog checks them, three and two digits; false with *error saying what
// does not fit (for a count of 1000 days or more also what the panel then shows and what to do).
bool CountersSince(const std::string &since, const std::string &today, const std::string &accidents,
                   std::string *days, std::string *accidentsOut, std::string *error);

} // namespace zor::tool
