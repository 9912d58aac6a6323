#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pyx {

// A command line as the `command` entry point receives it: " t " or "-t " (test), " x " or
// "-x " (extract), the archive path in double quotes, and for an extraction optionally a blank
// and the destination folder in double quotes, ending in a separator.
struct ArchiverCommand {
    enum class Op { Test, Extract };
    Op op = Op::Test;
    std::string archive;
    std::optional<std::string> destination;  // without its trailing separator
};

// nullopt for anything else: the engine then answers kErrorCommand.
std::optional<ArchiverCommand> ParseArchiverCommand(std::string_view line);

}  // namespace pyx
