#include "tools/zor/Counters.h"

#include "base/Clock.h"

#include <cstdio>

namespace zor::tool {

long DaysFromCivil(int year, int month, int day)
{
    // The usual days-from-civil count by 400-year eras: exact for every Gregorian date, and
    // no time zone is involved.
    year -= month <= 2;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yoe = year - era * 400;
    const long doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

bool ParseDate(const std::string &text, long *days, const std::string &option, std::string *error)
{
    const auto refuse = [error](const std::string &why) {
        *error = why;
        return false;
    };
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return refuse(option + " needs a date as YYYY-MM-DD, not '" + text + "'");
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return refuse(option + " needs a date as YYYY-MM-DD, not '" + text + "'");
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    const std::string none = option + " " + text + ": there is no such date ";
    if (year < 1)
        return refuse(none + "(years count from 0001)");
    if (month < 1 || month > 12)
        return refuse(none + "(months count from 01 to 12)");
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    static const char *const names[] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int length = lengths[month - 1] + (month == 2 && leap);
    if (day < 1 || day > length)
        return refuse(none + "(" + names[month - 1] + " " + text.substr(0, 4) + " has " +
                      std::to_string(length) + " days)");
    *days = DaysFromCivil(year, month, day);
    return true;
}

bool CountersSince(const std::string &since, const std::string &today, const std::string &accidents,
                   std::string *days, std::string *accidentsOut, std::string *error)
{
    long from = 0, to = 0;
    if (!ParseDate(since, &from, "--since", error))
        return false;
    if (today.empty()) {
        const TLocalDateTime now = TSystemClock().Now();
        to = DaysFromCivil(now.Year, now.Month, now.Day);
    } else if (!ParseDate(today, &to, "--today", error)) {
        return false;
    }
    const long count = to - from;
    if (count < 0) {
        *error = "the date " + since + " lies after today";
        return false;
    }
    if (count > 999) {
        // Said to the operator and, from the daily update, into the journal, where the
        // administrator looks when the panel stops counting.
        *error = std::to_string(count) + " accident-free days since " + since +
                 " do not fit the panel's three digits (at most 999).\n"
                 "Nothing was sent: the panel keeps the count it was sent last (999 when the "
                 "daily update ran yesterday), and cannot show more.\n"
                 "Keep 999 on it (zor numeric 999 ACCIDENTS) and stop the daily update, which "
                 "fails like this every day from now on: systemctl disable --now "
                 "zor-counters.timer";
        return false;
    }
    const std::string n = accidents.empty() ? "0" : accidents;
    bool digits = n.size() <= 2;
    for (char c : n)
        digits = digits && c >= '0' && c <= '9';
    if (!digits) {
        *error = "--accidents needs a number of at most two digits (0 to 99), not '" + n + "'";
        return false;
    }
    *days = std::to_string(count);
    *accidentsOut = n;
    return true;
}

} // namespace zor::tool
