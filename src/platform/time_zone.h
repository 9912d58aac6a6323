#pragma once

namespace pyx {

// With TZ unset, glibc reads /etc/localtime again on every local-time conversion, and the engines
// make several per member. Naming the file once keeps it cached. Call before any thread starts.
void CacheLocalTimeZone();

}  // namespace pyx
