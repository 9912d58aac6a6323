#include "cli/cli_options.h"

#include <charconv>

namespace pyx {

const char* const kCliUsage =
    "usage: pyxidane-check [--depth simple|normal|strict|probe] [--sfx] [--no-recurse]\n"
    "                      [--update-dates] [--jobs N] [--no-progress] PATH...\n"
    "Tests every LZH, ZIP, ARJ, CAB and RAR archive in the folders (and their subfolders) or\n"
    "files given, and prints one line per damaged archive: its path and the reason.\n"
    "Exit status: 0 nothing damaged, 1 something damaged, 2 usage or I/O error.\n"
    "  --depth      simple: first headers; normal: every header (default);\n"
    "               strict: decompress every member and verify its checksum;\n"
    "               probe: the engine's full test command (CAB and RAR are not tested at probe)\n"
    "  --sfx        also test self-extracting .exe archives\n"
    "  --no-recurse do not walk subfolders\n"
    "  --update-dates  give each sound archive the newest date stored for its members\n"
    "  --jobs N     test N archives at once (default: one per core); output stays in walk order\n"
    "  --no-progress   no progress line on a terminal's standard error\n";

std::optional<CliOptions> ParseCliOptions(const std::vector<std::string>& args,
                                          std::string* error) {
    CliOptions options;
    bool onlyPaths = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto value = [&](const char* name) -> const std::string* {
            if (i + 1 >= args.size()) {
                *error = std::string(name) + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        if (onlyPaths || arg.empty() || arg[0] != '-' || arg == "-") {
            options.paths.push_back(arg);
        } else if (arg == "--") {
            onlyPaths = true;
        } else if (arg == "--depth") {
            const std::string* v = value("--depth");
            if (!v)
                return std::nullopt;
            if (*v == "simple") {
                options.mode = 1;
            } else if (*v == "normal") {
                options.mode = 2;
            } else if (*v == "strict") {
                options.mode = 3;
            } else if (*v == "probe") {
                options.mode = 4;
            } else {
                *error = "unknown depth '" + *v + "' (simple, normal, strict or probe)";
                return std::nullopt;
            }
        } else if (arg == "--jobs" || arg == "-j") {
            const std::string* v = value("--jobs");
            if (!v)
                return std::nullopt;
            int jobs = 0;
            const auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), jobs);
            if (ec != std::errc() || end != v->data() + v->size() || jobs < 1 || jobs > 256) {
                *error = "--jobs takes a number from 1 to 256";
                return std::nullopt;
            }
            options.jobs = jobs;
        } else if (arg == "--sfx") {
            options.selfExtracting = true;
        } else if (arg == "--no-recurse") {
            options.recurse = false;
        } else if (arg == "--update-dates") {
            options.updateDates = true;
        } else if (arg == "--no-progress") {
            options.progress = false;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else {
            *error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
    }
    if (!options.help && options.paths.empty()) {
        *error = "no folder or file given";
        return std::nullopt;
    }
    return options;
}

}  // namespace pyx
