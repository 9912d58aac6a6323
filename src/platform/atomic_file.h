#pragma once

#include <filesystem>
#include <string_view>

namespace pyx {

// Replaces the file at target with bytes so that a crash or a full disk never leaves it half
// written: the bytes go to a new file beside it, which is flushed to disk and then renamed over
// the target; the folder is flushed too. When target is a symbolic link, the file it points to is
// replaced and the link stays. An existing file keeps its permission bits; a new one gets the
// usual ones (0666 less the umask).
// False on any failure; the temporary file is then removed and the old file is left whole.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace pyx
