#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace pyx {

// Told how many bytes of a copy are done; returns false to cancel the move.
using CopyProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

struct MoveResult {
    bool moved = false;
    std::string error;  // why not, for the user
};

// Moves a file into a folder under its own name, replacing a file of that name there. Within one
// file system it is a rename. Across file systems the file is copied to a temporary name beside
// the target, flushed, renamed into place, and only then is the source removed; a failed or
// cancelled copy leaves the source whole and no partial file behind. Never loses the only copy.
MoveResult MoveFileInto(const std::string& source, const std::string& folder,
                        const CopyProgress& progress = nullptr);

}  // namespace pyx
