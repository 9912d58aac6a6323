#include "archivers/archiver_command.h"

namespace pyx {
namespace {

void SkipBlanks(std::string_view& s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
}

// Takes a double-quoted text off the front of s; the quotes are not part of the result.
std::optional<std::string> TakeQuoted(std::string_view& s) {
    if (s.empty() || s.front() != '"')
        return std::nullopt;
    const auto close = s.find('"', 1);
    if (close == std::string_view::npos)
        return std::nullopt;
    std::string text(s.substr(1, close - 1));
    s.remove_prefix(close + 1);
    return text;
}

}  // namespace

std::optional<ArchiverCommand> ParseArchiverCommand(std::string_view line) {
    ArchiverCommand cmd;
    SkipBlanks(line);
    if (!line.empty() && line.front() == '-')
        line.remove_prefix(1);
    if (line.empty())
        return std::nullopt;
    switch (line.front()) {
        case 't':
            cmd.op = ArchiverCommand::Op::Test;
            break;
        case 'x':
            cmd.op = ArchiverCommand::Op::Extract;
            break;
        default:
            return std::nullopt;
    }
    line.remove_prefix(1);
    if (line.empty() || line.front() != ' ')
        return std::nullopt;
    SkipBlanks(line);

    auto archive = TakeQuoted(line);
    if (!archive || archive->empty())
        return std::nullopt;
    cmd.archive = std::move(*archive);

    SkipBlanks(line);
    if (!line.empty()) {
        if (cmd.op != ArchiverCommand::Op::Extract)
            return std::nullopt;
        auto dest = TakeQuoted(line);
        if (!dest || dest->empty())
            return std::nullopt;
        const char last = dest->back();
        if (last != '/' && last != '\\')
            return std::nullopt;
        // "/" alone is the root; otherwise the separator is dropped.
        cmd.destination =
            dest->size() == 1 ? std::string(1, '/') : dest->substr(0, dest->size() - 1);
        SkipBlanks(line);
        if (!line.empty())
            return std::nullopt;
    }
    return cmd;
}

}  // namespace pyx
