#include "settings/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/cp932.h"

namespace pyx {
namespace {

constexpr std::array<std::string_view, kModeCount> kModeComments = {"LZH書庫", "ZIP書庫", "ARJ書庫",
                                                                    "CAB書庫", "RAR書庫"};
constexpr std::array<std::string_view, Option::count> kOptionComments = {
    "解凍モード",         "フォルダ作成",           "ファイル削除",
    "サブフォルダの検索", "表示位置を記憶",         "起動後にチェック開始",
    "起動後に最小化",     "自己解凍書庫のチェック", "書庫の日付けを変更"};

// The separators of a word scan ("%s"): blanks, tabs, line ends and the other C white space.
bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string_view> SplitWords(std::string_view text, std::size_t limit = SIZE_MAX) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (words.size() < limit) {
        while (at < text.size() && IsSeparator(text[at]))
            ++at;
        if (at == text.size())
            break;
        const std::size_t start = at;
        while (at < text.size() && !IsSeparator(text[at]))
            ++at;
        words.push_back(text.substr(start, at - start));
    }
    return words;
}

// The lines of the text; a last line without its line end counts too.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view FirstWord(std::string_view line) {
    const auto words = SplitWords(line, 1);
    return words.empty() ? std::string_view() : words.front();
}

// A line holding one of the section names and nothing else but blanks and tabs.
bool IsSectionLine(std::string_view line) {
    static constexpr std::string_view kSectionNames[] = {"[Version]",  "[Directory]", "[Move]",
                                                         "[Position]", "[Option]",    "[List]"};
    const auto words = SplitWords(line, 2);
    return words.size() == 1 && std::find(std::begin(kSectionNames), std::end(kSectionNames),
                                          words.front()) != std::end(kSectionNames);
}

struct Section {
    std::string_view name;                // "[Move]"; empty when the section is missing
    std::vector<std::string_view> lines;  // up to the next section line or the end
    std::string_view next;                // the name of the section line that ends it, if any
};

Section FindSection(const std::vector<std::string_view>& lines, std::string_view name) {
    Section section;
    std::size_t at = 0;
    while (at < lines.size() && !(IsSectionLine(lines[at]) && FirstWord(lines[at]) == name))
        ++at;
    if (at == lines.size())
        return section;
    section.name = name;
    for (++at; at < lines.size() && !IsSectionLine(lines[at]); ++at)
        section.lines.push_back(lines[at]);
    if (at < lines.size())
        section.next = FirstWord(lines[at]);
    return section;
}

std::vector<std::string_view> SectionWords(const Section& section) {
    std::vector<std::string_view> words;
    for (const auto line : section.lines) {
        const auto lineWords = SplitWords(line);
        words.insert(words.end(), lineWords.begin(), lineWords.end());
    }
    return words;
}

// A value ends where the section named closer begins; without it, the value is not read.
std::optional<std::string> ReadValue(const Section& section, std::string_view closer) {
    if (section.name.empty() || section.next != closer)
        return std::nullopt;
    std::string value;
    bool first = true;
    for (const auto line : section.lines) {
        if (FirstWord(line).empty())
            continue;
        if (!first)
            value += ' ';
        value += line;
        first = false;
    }
    return value;
}

// A decimal integer with an optional sign that fits an int, and nothing after it.
std::optional<int> ReadInteger(std::string_view word) {
    // from_chars takes a minus sign only.
    if (word.starts_with('+')) {
        word.remove_prefix(1);
        if (word.starts_with('-'))
            return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

std::vector<std::string> ReadEntries(const Section& section) {
    std::vector<std::string> entries;
    for (const auto line : section.lines) {
        const auto first = FirstWord(line);
        if (first.empty())
            continue;
        if (first.front() == '/' || entries.empty()) {
            entries.emplace_back(line);
        } else {
            entries.back() += ' ';
            entries.back() += line;
        }
    }
    return entries;
}

std::string FormatNumber(const char* format, int value) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    return std::string(buffer, static_cast<std::size_t>(std::max(length, 0)));
}

}  // namespace

std::string ComposeSettingsFile(const SettingsState& state) {
    std::string text;
    text += "[Version]\n" + state.title + "\n\n";
    text += "[Directory]\n" + state.openFolder + "\n\n";
    text += "[Move]\n" + state.moveFolder + "\n\n";
    text += "[Position]\n";
    text += FormatNumber("%4d", state.x) + "  //X座標\n";
    text += FormatNumber("%4d", state.y) + "  //Y座標\n\n";
    text += "[Option]\n";
    for (std::size_t i = 0; i < kModeCount; ++i)
        text += FormatNumber("%1d", state.modes[i]) + "  //" + std::string(kModeComments[i]) + "\n";
    for (std::size_t i = 0; i < Option::count; ++i)
        text += FormatNumber("%1d", state.options[i] ? 1 : 0) + "  //" +
                std::string(kOptionComments[i]) + "\n";
    text += "\n[List]\n";
    for (auto entry = state.listEntries.rbegin(); entry != state.listEntries.rend(); ++entry)
        text += *entry + "\n";
    return text;
}

SettingsData ParseSettingsFile(std::string_view text) {
    SettingsData data;
    const auto versionWords = SplitWords(text, 4);
    data.versionOk = versionWords.size() == 4 && versionWords[3] == kSettingsVersionWord;
    if (!data.versionOk)
        return data;

    const auto lines = SplitLines(text);
    data.openFolder = ReadValue(FindSection(lines, "[Directory]"), "[Move]");
    data.moveFolder = ReadValue(FindSection(lines, "[Move]"), "[Position]");

    const auto position = SectionWords(FindSection(lines, "[Position]"));
    if (position.size() > 0)
        data.x = ReadInteger(position[0]);
    if (position.size() > 2)
        data.y = ReadInteger(position[2]);

    // Each value word is followed by its comment word.
    const auto options = SectionWords(FindSection(lines, "[Option]"));
    const auto valueWord = [&options](std::size_t index) {
        return 2 * index < options.size() ? options[2 * index] : std::string_view();
    };
    for (std::size_t i = 0; i < kModeCount; ++i) {
        if (const auto word = valueWord(i); !word.empty())
            data.savedModes[i] = static_cast<signed char>(word.front()) - '0';
    }
    for (std::size_t i = 0; i < Option::count; ++i) {
        const auto word = valueWord(kModeCount + i);
        if (word.starts_with('1'))
            data.options[i] = SavedTick::Tick;
        else if (word.starts_with('0'))
            data.options[i] = SavedTick::Untick;
    }

    data.entriesInFileOrder = ReadEntries(FindSection(lines, "[List]"));
    return data;
}

std::filesystem::path SettingsFilePath(const std::filesystem::path& executableDir) {
    if (::access(executableDir.c_str(), W_OK) == 0)
        return executableDir / kSettingsFileName;
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
        config = xdg;
    } else if (const char* home = std::getenv("HOME"); home && home[0] == '/') {
        config = std::filesystem::path(home) / ".config";
    } else {
        // Nowhere else to go; writing there fails and is silent, as any failed write.
        return executableDir / kSettingsFileName;
    }
    return config / "Pyxidane" / kSettingsFileName;
}

std::optional<SettingsData> LoadSettingsFile(const std::filesystem::path& file) {
    // Non-blocking open and a regular file only: a pipe in its place must not hang the start.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (!ok)
        return std::nullopt;
    return ParseSettingsFile(DecodeTextFile(bytes));
}

bool SaveSettingsFile(const std::filesystem::path& file, const SettingsState& state) {
    std::error_code error;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), error);
    if (error)
        return false;
    return WriteFileAtomically(file, EncodeTextFile(ComposeSettingsFile(state)));
}

}  // namespace pyx
