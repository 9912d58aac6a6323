#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <ostream>

#include "platform/cp932.h"

namespace fs = std::filesystem;

namespace pyx {

void PrintTo(const SettingsData& d, std::ostream* os) {
    const auto text = [](const std::optional<std::string>& s) {
        return s ? "\"" + *s + "\"" : std::string("-");
    };
    const auto number = [](const std::optional<int>& n) {
        return n ? std::to_string(*n) : std::string("-");
    };
    *os << "{version " << d.versionOk << ", dir " << text(d.openFolder) << ", move "
        << text(d.moveFolder) << ", x " << number(d.x) << ", y " << number(d.y) << ", modes";
    for (const auto& m : d.savedModes)
        *os << " " << number(m);
    *os << ", options ";
    for (const auto o : d.options)
        *os << "k10"[static_cast<int>(o)];
    *os << ", entries";
    for (const auto& e : d.entriesInFileOrder)
        *os << " [" << e << "]";
    *os << "}";
}

namespace {

SettingsState KnownState() {
    SettingsState state;
    state.openFolder = "/home/u/アーカイブ";
    state.moveFolder = "/home/u/Pyxidane";
    state.x = 12;
    state.y = -30;
    state.modes = {0, 1, 2, 3, 5};
    state.options = {true, false, true, false, true, true, false, true, false};
    state.listEntries = {"/a/first.lzh \"CRCエラー\"", "/b/second.zip"};
    return state;
}

// What reading the file of state must give.
SettingsData Expected(const SettingsState& state) {
    SettingsData data;
    data.versionOk = true;
    data.openFolder = state.openFolder;
    data.moveFolder = state.moveFolder;
    data.x = state.x;
    data.y = state.y;
    for (std::size_t i = 0; i < kModeCount; ++i)
        data.savedModes[i] = state.modes[i];
    for (std::size_t i = 0; i < Option::count; ++i)
        data.options[i] = state.options[i] ? SavedTick::Tick : SavedTick::Untick;
    data.entriesInFileOrder.assign(state.listEntries.rbegin(), state.listEntries.rend());
    return data;
}

SettingsData OnlyVersion() {
    SettingsData data;
    data.versionOk = true;
    return data;
}

SettingsData Reread(const SettingsState& state) {
    return ParseSettingsFile(DecodeTextFile(EncodeTextFile(ComposeSettingsFile(state))));
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

TEST(SettingsFile, WritesTheExactBytesInCp932) {
    const std::string expected =
        "[Version]\r\nPyxidane Version 0.40\r\n\r\n"
        "[Directory]\r\n/home/u/\x83\x41\x81\x5b\x83\x4a\x83\x43\x83\x75\r\n\r\n"
        "[Move]\r\n/home/u/Pyxidane\r\n\r\n"
        "[Position]\r\n"
        "  12  //X\x8d\xc0\x95\x57\r\n"
        " -30  //Y\x8d\xc0\x95\x57\r\n\r\n"
        "[Option]\r\n"
        "0  //LZH\x8f\x91\x8c\xc9\r\n"
        "1  //ZIP\x8f\x91\x8c\xc9\r\n"
        "2  //ARJ\x8f\x91\x8c\xc9\r\n"
        "3  //CAB\x8f\x91\x8c\xc9\r\n"
        "5  //RAR\x8f\x91\x8c\xc9\r\n"
        "1  //\x89\xf0\x93\x80\x83\x82\x81\x5b\x83\x68\r\n"
        "0  //\x83\x74\x83\x48\x83\x8b\x83\x5f\x8d\xec\x90\xac\r\n"
        "1  //\x83\x74\x83\x40\x83\x43\x83\x8b\x8d\xed\x8f\x9c\r\n"
        "0  //\x83\x54\x83\x75\x83\x74\x83\x48\x83\x8b\x83\x5f\x82\xcc\x8c\x9f\x8d\xf5\r\n"
        "1  //\x95\x5c\x8e\xa6\x88\xca\x92\x75\x82\xf0\x8b\x4c\x89\xaf\r\n"
        "1  //\x8b\x4e\x93\xae\x8c\xe3\x82\xc9\x83\x60\x83\x46\x83\x62\x83\x4e\x8a\x4a\x8e\x6e\r\n"
        "0  //\x8b\x4e\x93\xae\x8c\xe3\x82\xc9\x8d\xc5\x8f\xac\x89\xbb\r\n"
        "1  //\x8e\xa9\x8c\xc8\x89\xf0\x93\x80\x8f\x91\x8c\xc9\x82\xcc\x83\x60\x83\x46\x83\x62\x83"
        "\x4e\r\n"
        "0  //\x8f\x91\x8c\xc9\x82\xcc\x93\xfa\x95\x74\x82\xaf\x82\xf0\x95\xcf\x8d\x58\r\n\r\n"
        "[List]\r\n"
        "/b/second.zip\r\n"
        "/a/first.lzh \"CRC\x83\x47\x83\x89\x81\x5b\"\r\n";
    EXPECT_EQ(EncodeTextFile(ComposeSettingsFile(KnownState())), expected);
}

TEST(SettingsFile, WritesUtf8WithAMarkWhenCp932WouldChangeAText) {
    SettingsState state = KnownState();
    state.openFolder = "/home/u/〜";
    const std::string expected =
        "\xEF\xBB\xBF"
        "[Version]\r\nPyxidane Version 0.40\r\n\r\n"
        "[Directory]\r\n/home/u/〜\r\n\r\n"
        "[Move]\r\n/home/u/Pyxidane\r\n\r\n"
        "[Position]\r\n  12  //X座標\r\n -30  //Y座標\r\n\r\n"
        "[Option]\r\n0  //LZH書庫\r\n1  //ZIP書庫\r\n2  //ARJ書庫\r\n3  //CAB書庫\r\n5  "
        "//RAR書庫\r\n"
        "1  //解凍モード\r\n0  //フォルダ作成\r\n1  //ファイル削除\r\n0  //サブフォルダの検索\r\n"
        "1  //表示位置を記憶\r\n1  //起動後にチェック開始\r\n0  //起動後に最小化\r\n"
        "1  //自己解凍書庫のチェック\r\n0  //書庫の日付けを変更\r\n\r\n"
        "[List]\r\n/b/second.zip\r\n/a/first.lzh \"CRCエラー\"\r\n";
    EXPECT_EQ(EncodeTextFile(ComposeSettingsFile(state)), expected);
}

TEST(SettingsFile, EveryItemComesBackAfterARestart) {
    struct Case {
        const char* name;
        std::function<void(SettingsState&)> change;
    };
    const Case cases[] = {
        {"known state", [](SettingsState&) {}},
        {"folder with two blanks", [](SettingsState& s) { s.openFolder = "/home/u/a  b"; }},
        {"folder with a tab", [](SettingsState& s) { s.openFolder = "/home/u/a\tb"; }},
        {"folder ending in a blank", [](SettingsState& s) { s.openFolder = "/home/u/a "; }},
        {"folder with a section word", [](SettingsState& s) { s.openFolder = "/u/a [Move] b"; }},
        {"folder CP932 would change", [](SettingsState& s) { s.openFolder = "/home/〜/¥"; }},
        {"long folder", [](SettingsState& s) { s.openFolder = "/" + std::string(5000, 'x'); }},
        {"empty move destination", [](SettingsState& s) { s.moveFolder = ""; }},
        {"move destination with blanks", [](SettingsState& s) { s.moveFolder = " /a \t b  "; }},
        {"wide position",
         [](SettingsState& s) {
             s.x = -1000;
             s.y = 123456;
         }},
        {"extreme position",
         [](SettingsState& s) {
             s.x = INT_MIN;
             s.y = INT_MAX;
         }},
        {"other modes",
         [](SettingsState& s) {
             s.modes = {5, 4, 3, 2, 1};
         }},
        {"every option ticked", [](SettingsState& s) { s.options.fill(true); }},
        {"no option ticked", [](SettingsState& s) { s.options.fill(false); }},
        {"empty list", [](SettingsState& s) { s.listEntries.clear(); }},
        {"entries with blanks, slashes and 〜",
         [](SettingsState& s) {
             s.listEntries = {"/a/my  /b.lzh \"x\"", "/c\t/d.zip", "/〜/e.rar \"a\" \"b\"",
                              "/f.cab"};
         }},
    };
    for (const auto& c : cases) {
        SettingsState state = KnownState();
        c.change(state);
        EXPECT_EQ(Reread(state), Expected(state)) << c.name;
    }
}

TEST(SettingsFile, ReadsOnlyAFileWhoseFourthWordIsTheVersion) {
    const std::string file = ComposeSettingsFile(KnownState());
    const std::string rest = file.substr(file.find("[Directory]"));
    struct Case {
        std::string head;
        bool read;
    };
    const Case cases[] = {
        {"[Version]\nPyxidane Version 0.40\n\n", true},
        {"[Version] Pyxidane\tVersion\n\n 0.40\n", true},
        {"[Version]\nPyxidane Version 0.39\n\n", false},
        {"[Version]\nPyxidane Version 0.400\n\n", false},
        {"[Version]\nPyxidane 0.40\n\n", false},      // the fourth word is "[Directory]"
        {"[Version]\nOther Program 0.40\n\n", true},  // the first three are not examined
        {"", false},
    };
    for (const auto& c : cases) {
        const auto data = ParseSettingsFile(c.head + rest);
        EXPECT_EQ(data, c.read ? Expected(KnownState()) : SettingsData()) << c.head;
    }
    EXPECT_EQ(ParseSettingsFile("a b c"), SettingsData());
}

TEST(SettingsFile, SavedModeIsTheFirstByteOfItsWord) {
    // The file in CP932, so that bytes from 128 up are what the file holds.
    const std::string file = EncodeTextFile(ComposeSettingsFile(KnownState()));
    struct Case {
        std::string word;
        std::optional<int> mode;  // nullopt: some negative number
    };
    const Case cases[] = {
        {"3", 3},  {"9", 9},         {"0", 0},     {"5x", 5},    {"-", '-' - '0'},
        {"A", 17}, {"\x82\x52", {}}, {"\xB1", {}}, {"\xFF", {}},
    };
    for (const auto& c : cases) {
        const auto data = ParseSettingsFile(
            DecodeTextFile(Replace(file, "\n0  //LZH", "\n" + c.word + "  //LZH")));
        ASSERT_TRUE(data.savedModes[0].has_value()) << c.word;
        if (c.mode) {
            EXPECT_EQ(*data.savedModes[0], *c.mode) << c.word;
        } else {
            EXPECT_LT(*data.savedModes[0], 0) << c.word;
        }
        EXPECT_EQ(data.savedModes[1], 1);
    }
}

TEST(SettingsFile, OptionIsItsFirstCharacter) {
    const std::string file = ComposeSettingsFile(KnownState());
    struct Case {
        std::string word;
        SavedTick tick;
    };
    const Case cases[] = {
        {"1", SavedTick::Tick},    {"10", SavedTick::Tick}, {"0", SavedTick::Untick},
        {"0x", SavedTick::Untick}, {"x", SavedTick::Keep},  {"-1", SavedTick::Keep},
        {"１", SavedTick::Keep},
    };
    for (const auto& c : cases) {
        const auto data = ParseSettingsFile(Replace(file, "1  //表示", c.word + "  //表示"));
        EXPECT_EQ(data.options[Option::Check2], c.tick) << c.word;
        EXPECT_EQ(data.options[Option::Check3], SavedTick::Tick) << c.word;
    }
}

TEST(SettingsFile, MalformedFilesKeepWhatCanBeRead) {
    const std::string file = ComposeSettingsFile(KnownState());
    const SettingsData full = Expected(KnownState());
    const std::string head = "[Version]\nPyxidane Version 0.40\n\n";
    std::string binary = head;
    for (unsigned seed = 1; binary.size() < 4096;) {
        seed = seed * 1103515245u + 12345u;
        const char c = static_cast<char>(seed >> 23);
        binary += c == '[' ? ' ' : c;
    }
    struct Case {
        const char* name;
        std::string text;
        std::function<void(SettingsData&)> lost;
    };
    const Case cases[] = {
        {"no [Move]", Replace(file, "[Move]\n", ""),
         [](SettingsData& d) { d.openFolder = d.moveFolder = std::nullopt; }},
        {"no [Position]", Replace(file, "[Position]\n", ""),
         [](SettingsData& d) {
             d.moveFolder = std::nullopt;
             d.x = d.y = std::nullopt;
         }},
        {"no [Directory]", Replace(file, "[Directory]\n", ""),
         [](SettingsData& d) { d.openFolder = std::nullopt; }},
        {"no [Option]", Replace(file, "[Option]\n", ""),
         [](SettingsData& d) {
             d.savedModes = {};
             d.options = {};
         }},
        {"no [List]", Replace(file, "[List]\n", ""),
         [](SettingsData& d) { d.entriesInFileOrder.clear(); }},
        {"x no integer", Replace(file, "  12  //X", "12abc  //X"),
         [](SettingsData& d) { d.x = std::nullopt; }},
        {"y beyond int", Replace(file, " -30  //Y", "99999999999  //Y"),
         [](SettingsData& d) { d.y = std::nullopt; }},
        {"y missing", Replace(file, " -30  //Y座標\n", ""),
         [](SettingsData& d) { d.y = std::nullopt; }},
        {"last line without its line end", file.substr(0, file.size() - 1), [](SettingsData&) {}},
        {"sections among blanks", Replace(file, "[Move]\n", " \t[Move]  \n"), [](SettingsData&) {}},
        {"cut inside [Option]", file.substr(0, file.find("3  //CAB")),
         [](SettingsData& d) {
             d.savedModes[3] = d.savedModes[4] = std::nullopt;
             d.options = {};
             d.entriesInFileOrder.clear();
         }},
        {"cut inside the open folder", file.substr(0, file.find("アーカイブ")),
         [](SettingsData& d) { d = OnlyVersion(); }},
        {"only the version", "[Version]\nPyxidane Version 0.40",
         [](SettingsData& d) { d = OnlyVersion(); }},
        {"binary after the version", binary, [](SettingsData& d) { d = OnlyVersion(); }},
        {"empty", "", [](SettingsData& d) { d = SettingsData(); }},
    };
    for (const auto& c : cases) {
        SettingsData expected = full;
        c.lost(expected);
        EXPECT_EQ(ParseSettingsFile(c.text), expected) << c.name;
    }
}

TEST(SettingsFile, ValuesAndEntriesSpreadOverLinesAreJoinedWithOneBlank) {
    const std::string text =
        "[Version]\nPyxidane Version 0.40\n\n"
        "[Directory]\n/home/u/a\nb  c\n\n[Move]\n\n\n[Position]\n"
        "[List]\nnot a path\n/a/b.lzh\n\"CRCエラー\"\n\t/c.zip\n/d.arj";
    const auto data = ParseSettingsFile(text);
    EXPECT_EQ(data.openFolder, "/home/u/a b  c");
    EXPECT_EQ(data.moveFolder, "");
    EXPECT_EQ(
        data.entriesInFileOrder,
        (std::vector<std::string>{"not a path", "/a/b.lzh \"CRCエラー\"", "\t/c.zip", "/d.arj"}));
}

class SettingsFileOnDisk : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("pyx-settings-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            if (const char* value = std::getenv(name))
                saved.emplace_back(name, value);
        }
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        for (const auto& [name, value] : saved)
            ::setenv(name.c_str(), value.c_str(), 1);
        fs::remove_all(folder);
    }

    fs::path folder;
    std::vector<std::pair<std::string, std::string>> saved;
};

TEST_F(SettingsFileOnDisk, LocationBesideTheExecutableOrInTheConfigFolder) {
    const fs::path missing = folder / "no-such-folder";
    struct Case {
        fs::path executableDir;
        const char* xdgConfigHome;  // nullptr: unset
        fs::path expected;
    };
    const Case cases[] = {
        {folder, "/cfg", folder / "Pyxidane.ini"},
        {missing, "/cfg", "/cfg/Pyxidane/Pyxidane.ini"},
        {missing, nullptr, "/home/me/.config/Pyxidane/Pyxidane.ini"},
        {missing, "relative", "/home/me/.config/Pyxidane/Pyxidane.ini"},
    };
    ::setenv("HOME", "/home/me", 1);
    for (const auto& c : cases) {
        if (c.xdgConfigHome)
            ::setenv("XDG_CONFIG_HOME", c.xdgConfigHome, 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(SettingsFilePath(c.executableDir), c.expected) << c.executableDir;
    }
}

TEST_F(SettingsFileOnDisk, SavesIntoANewFolderAndLoadsBack) {
    const fs::path file = folder / "config" / "Pyxidane" / "Pyxidane.ini";
    EXPECT_EQ(LoadSettingsFile(file), std::nullopt);
    ASSERT_TRUE(SaveSettingsFile(file, KnownState()));
    EXPECT_EQ(LoadSettingsFile(file), Expected(KnownState()));

    // A file where a folder should be: nothing is written and the old file stays.
    std::ofstream(folder / "blocker") << "x";
    EXPECT_FALSE(SaveSettingsFile(folder / "blocker" / "Pyxidane.ini", KnownState()));
    EXPECT_EQ(LoadSettingsFile(folder), std::nullopt);  // a folder is no file
    const fs::path pipe = folder / "pipe.ini";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(LoadSettingsFile(pipe), std::nullopt);  // and waits for no writer
}

}  // namespace
}  // namespace pyx
