// Fuzzes the engines' command-line parser.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "archivers/archiver_command.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto cmd = pyx::ParseArchiverCommand(line);
    if (cmd && cmd->archive.empty()) __builtin_trap();
    return 0;
}
