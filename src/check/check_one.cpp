#include "check/check_one.h"

#include "check/date_update.h"
#include "check/extract_mode.h"

namespace pyx {

int ArchiveKindOf(std::string_view fileName) {
    const auto slash = fileName.rfind('/');
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return KindNone;
    }
    std::string ext(fileName.substr(dot));
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    if (ext == ".lzh")
        return KindLzh;
    if (ext == ".zip")
        return KindZip;
    if (ext == ".arj")
        return KindArj;
    if (ext == ".cab")
        return KindCab;
    if (ext == ".rar")
        return KindRar;
    if (ext == ".exe")
        return KindSfx;
    return KindNone;
}

std::string ArchiveStem(std::string_view fileName) {
    return std::string(fileName.substr(0, fileName.find('.')));
}

std::string JoinPath(std::string_view folder, std::string_view fileName) {
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += fileName;
    return path;
}

std::string CommandPrefix(int kind, char command) {
    const bool blank = kind == KindLzh || kind == KindArj;
    return std::string{blank ? ' ' : '-', command, ' '};
}

CheckOutcome CheckArchiveFile(std::string_view folder, std::string_view fileName,
                              const ArchiverTable& table, const CheckSettings& settings) {
    const std::string fullPath = JoinPath(folder, fileName);
    const auto modeOf = [&](int kind) {
        return UsableBinding(table, kind) ? settings.modes[static_cast<std::size_t>(kind)] : 0;
    };

    CheckOutcome outcome;
    outcome.kind = ArchiveKindOf(fileName);
    if (outcome.kind == KindSfx) {
        // Every enabled kind is asked; the last one that answers exactly 1 claims the file.
        for (int kind = kFirstArchiverKind; kind <= kLastArchiverKind; ++kind) {
            if (modeOf(kind) != 0 &&
                table[static_cast<std::size_t>(kind)].checkArchive(fullPath.c_str(), 0) == 1) {
                outcome.kind = kind;
            }
        }
    }
    if (!IsArchiverKind(outcome.kind))
        return outcome;
    const int mode = modeOf(outcome.kind);
    if (mode == 0)
        return outcome;

    const ArchiverBinding& engine = table[static_cast<std::size_t>(outcome.kind)];
    bool passed = true;
    if (mode == 4) {
        const std::string line = CommandPrefix(outcome.kind, 't') + "\"" + fullPath + "\"";
        char output[1] = {0};
        outcome.resultCode = engine.command(nullptr, line.c_str(), output, 0);
    } else if (mode == 5) {
        const auto extracted =
            ExtractArchive(engine, outcome.kind, std::string(folder), fullPath,
                           ArchiveStem(fileName), settings.makeFolder, settings.deleteAfter);
        outcome.resultCode = extracted.resultCode;
        outcome.extraCode = extracted.extraCode;
    } else if (mode >= 1 && mode <= 3) {
        passed = engine.checkArchive(fullPath.c_str(), mode - 1) != 0;
    }

    outcome.failed = !passed || outcome.resultCode != 0 || outcome.extraCode != 0;
    if (!outcome.failed && settings.updateDate)
        UpdateArchiveDate(fullPath, outcome.kind, table);
    return outcome;
}

}  // namespace pyx
