#include "tools/zor/Counters.h"

#include <cstdio>
#include <ctime>

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

bool ParseDate(const std::string &text, long *days)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9')
            return false;
    const int year = std::stoi(text.substr(0, 4));
    const int month = std::stoi(text.substr(5, 2));
    const int day = std::stoi(text.substr(8, 2));
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > lengths[month - 1] + (month == 2 && leap))
        return false;
    *days = DaysFromCivil(year, month, day);
    return true;
}

bool CountersSince(const std::string &since, const std::string &today, const std::string &accidents,
                   std::string *days, std::string *accidentsOut, std::string *error)
{
    long from = 0, to = 0;
    if (!ParseDate(since, &from)) {
        *error = "--since needs a date as YYYY-MM-DD, not '" + since + "'";
        return false;
    }
    if (today.empty()) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        to = DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    } else if (!ParseDate(today, &to)) {
        *error = "--today needs a date as YYYY-MM-DD, not '" + today + "'";
        return false;
    }
    const long count = to - from;
    if (count < 0) {
        *error = "the date " + since + " lies after today";
        return false;
    }
    if (count > 999) {
        *error = std::to_string(count) + " accident-free days since " + since +
                 " do not fit the panel's three digits (at most 999)";
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
