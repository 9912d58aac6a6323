#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

namespace pyx {

// An MS-DOS date and time pair, local time: date = (year-1980)<<9 | month<<5 | day,
// time = hour<<11 | minute<<5 | seconds/2.
struct DosStamp {
    std::uint16_t date = 0;
    std::uint16_t time = 0;
    // The order of two stamps: date * 65536 + time.
    std::uint32_t Key() const { return static_cast<std::uint32_t>(date) << 16 | time; }
};

// The stamp of a moment in local time; nullopt outside 1980..2107.
std::optional<DosStamp> DosStampFromTime(std::time_t t);

// The moment a stamp names in local time; nullopt when a field is out of range
// (month 0, day 32, hour 24, ...).
std::optional<std::time_t> TimeFromDosStamp(DosStamp stamp);

}  // namespace pyx
