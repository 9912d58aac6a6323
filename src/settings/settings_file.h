#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pyx {

// The settings file "Pyxidane.ini": the state kept between runs, written at quit and read once at
// start. Its layout, with "\n" as line end (the file itself has CR LF, see EncodeTextFile):
//
//   [Version]\n%s\n\n          the title, "Pyxidane Version 0.40"
//   [Directory]\n%s\n\n        the open folder
//   [Move]\n%s\n\n             the move destination
//   [Position]\n%4d  //X座標\n%4d  //Y座標\n\n
//   [Option]\n%1d  //LZH書庫\n ... one line per mode, then per option ... \n
//   [List]\n%s\n ...           the damaged list, its last entry first

inline constexpr std::string_view kSettingsFileName = "Pyxidane.ini";
inline constexpr std::string_view kSettingsVersionWord = "0.40";

// The five mode values, in the order the file holds them: LzhMode, ZipMode, ArjMode, CabMode,
// RarMode (index = archive kind - 1).
inline constexpr std::size_t kModeCount = 5;

// The nine option check boxes, in the order the file holds them: options[Option::Check2] ...
struct Option {
    enum : std::size_t { Melt1, Melt2, Melt3, Check1, Check2, Check3, Check4, Check5, Check6 };
    static constexpr std::size_t count = 9;
};

// What the writer takes: the state at quit. The initial values are the program's defaults, except
// the position (centred on the screen) and the folders, which the window knows.
struct SettingsState {
    std::string title = "Pyxidane Version 0.40";
    std::string openFolder;
    std::string moveFolder;
    int x = 0;
    int y = 0;
    std::array<int, kModeCount> modes{2, 2, 2, 2, 2};
    std::array<bool, Option::count> options{false, true,  false, true, true,
                                            false, false, false, false};
    // The damaged list as CheckBox shows it, top entry first. The file holds it the other way
    // round (last entry first).
    std::vector<std::string> listEntries;

    bool operator==(const SettingsState&) const = default;
};

// What one option line says. Only "1" and "0" change a box; any other first character leaves it.
enum class SavedTick { Keep, Tick, Untick };

// What the reader found. Everything it could not read stays empty (nullopt, Keep, no entries), so
// the window keeps its default for it.
struct SettingsData {
    // The fourth word of the file is "0.40". When false nothing else was read.
    bool versionOk = false;
    std::optional<std::string> openFolder;  // any text; the window tests whether it exists
    std::optional<std::string> moveFolder;
    std::optional<int> x;
    std::optional<int> y;
    // Each saved mode as read: the first byte of its word as a signed 8-bit number minus '0',
    // not clamped (a byte from 128 up gives a negative value). The track bars clamp it.
    std::array<std::optional<int>, kModeCount> savedModes;
    std::array<SavedTick, Option::count> options{};
    // The entries in the order of the file, which is the damaged list's last entry first:
    // inserting each at the top of CheckBox gives the list back in its saved order.
    std::vector<std::string> entriesInFileOrder;

    bool operator==(const SettingsData&) const = default;
};

// The text of the file for state, in UTF-8 with "\n" line ends.
std::string ComposeSettingsFile(const SettingsState& state);

// Reads the text of a settings file (UTF-8, "\n" line ends, see DecodeTextFile). Any text at all is
// accepted; what it cannot read stays empty in the result.
//
// The version is the fourth word of the file, words being separated by blanks, tabs and line
// ends. Sections are the lines "[Directory]", "[Move]", "[Position]", "[Option]" and "[List]"
// (blanks and tabs around the name allowed); each runs to the next section line.
// - A value ([Directory], [Move]) is read only when its section is followed by the next one
//   ("[Move]", "[Position]"). Its lines are taken whole, blanks and tabs as written; lines that
//   hold nothing but blanks and tabs are skipped, and a value spread over several lines is joined
//   with one blank.
// - [Position]: the first and third words are the two coordinates, when they are decimal integers.
// - [Option]: words two by two (value, comment): the five modes, then the nine options.
// - [List]: a line whose first character other than a blank or tab is "/" starts an entry; any
//   other line goes on with the entry before it, after one blank (or starts the first one). Each
//   line is taken whole; empty lines are skipped.
SettingsData ParseSettingsFile(std::string_view text);

// Where the settings file lives: beside the executable when that folder is writable, else
// $XDG_CONFIG_HOME/Pyxidane/Pyxidane.ini (~/.config when the variable is unset or not absolute).
std::filesystem::path SettingsFilePath(const std::filesystem::path& executableDir);

// Reads and parses the file; nullopt when it does not exist or cannot be read.
std::optional<SettingsData> LoadSettingsFile(const std::filesystem::path& file);

// Writes the file atomically, creating its folder when needed. False when it cannot; the old file
// is then left as it was.
bool SaveSettingsFile(const std::filesystem::path& file, const SettingsState& state);

}  // namespace pyx
