#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>

namespace pyx {

// Reads up to size bytes at offset, going on after short reads and interruptions; fewer only at
// the end of the file. The count read, or -1 on a read error.
ssize_t ReadAt(int fd, void* data, std::size_t size, std::uint64_t offset);

}  // namespace pyx
