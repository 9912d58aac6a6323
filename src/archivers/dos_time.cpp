#include "archivers/dos_time.h"

namespace pyx {

std::optional<DosStamp> DosStampFromTime(std::time_t t) {
    std::tm tm{};
    if (!localtime_r(&t, &tm))
        return std::nullopt;
    const int year = tm.tm_year + 1900;
    if (year < 1980 || year > 2107)
        return std::nullopt;
    DosStamp s;
    s.date = static_cast<std::uint16_t>((year - 1980) << 9 | (tm.tm_mon + 1) << 5 | tm.tm_mday);
    s.time = static_cast<std::uint16_t>(tm.tm_hour << 11 | tm.tm_min << 5 | tm.tm_sec / 2);
    return s;
}

std::optional<std::time_t> TimeFromDosStamp(DosStamp stamp) {
    const int year = 1980 + (stamp.date >> 9);
    const int month = (stamp.date >> 5) & 0x0F;
    const int day = stamp.date & 0x1F;
    const int hour = stamp.time >> 11;
    const int minute = (stamp.time >> 5) & 0x3F;
    const int second = (stamp.time & 0x1F) * 2;
    static constexpr int kDaysInMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1])
        return std::nullopt;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap)
        return std::nullopt;
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return t;
}

}  // namespace pyx
