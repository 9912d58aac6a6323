#include "platform/time_zone.h"

#include <cstdlib>
#include <ctime>

namespace pyx {

void CacheLocalTimeZone() {
    ::setenv("TZ", ":/etc/localtime", 0);  // a TZ the user set is kept
    ::tzset();
}

}  // namespace pyx
