#include "archivers/dll_information.h"

#include <gtest/gtest.h>

#include <set>

#include "fake_engines.h"

namespace pyx {
namespace {

class FakeHost : public ProvisioningHost {
  public:
    std::string folder;
    std::set<std::string> files;
    std::vector<std::string> started, messages;
    std::string WinRarFolder() override { return folder; }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    void StartProgram(const std::string& program, const std::string& parameters) override {
        started.push_back(program + "|" + parameters);
    }
    void ShowRestartMessage(const std::string& text) override { messages.push_back(text); }
};

TEST(DllInformation, VersionText) {
    const std::pair<std::uint16_t, const char*> cases[] = {
        {123, "1.23"}, {100, "1.00"}, {5, "0.05"}, {0, "0.00"}, {1234, "12.34"}, {65535, "655.35"}};
    for (const auto& [v, text] : cases)
        EXPECT_EQ(VersionText(v), text);
}

TEST(DllInformation, ProvisionStartsWinRarWithItsExtractCommand) {
    FakeHost host;
    host.folder = "C:\\Program Files\\WinRAR";
    host.files = {host.folder + "\\WinRAR.exe", host.folder + "\\UnRARDLL.rar"};
    EXPECT_TRUE(ProvisionUnrarDll(host, "C:\\WINDOWS\\system32"));
    ASSERT_EQ(host.started.size(), 1u);
    EXPECT_EQ(host.started[0],
              "C:\\Program Files\\WinRAR\\WinRAR.exe|x \"C:\\Program Files\\WinRAR\\UnRARDLL.rar\" "
              "unrar.dll \"C:\\WINDOWS\\system32\\\"");
    EXPECT_EQ(host.messages, (std::vector<std::string>{kUnrarRestartMessage}));
}

TEST(DllInformation, NoProvisionWithoutWinRarOrItsArchive) {
    for (int files = 0; files < 3; ++files) {
        FakeHost host;
        host.folder = files == 0 ? "" : "W";
        if (files >= 1)
            host.files.insert("W\\WinRAR.exe");
        if (files == 2)
            host.files.insert("W\\Other.rar");
        EXPECT_FALSE(ProvisionUnrarDll(host, "S"));
        EXPECT_TRUE(host.started.empty());
        EXPECT_TRUE(host.messages.empty());
    }
    EXPECT_FALSE(ProvisionUnrarDll(SystemProvisioningHost(), "/usr/lib"));
}

TEST(DllInformation, LinesAndKindsSwitchedOff) {
    testing::FakeEngines fakes;
    fakes.table[KindArj] = {};  // no ARJ engine
    FakeHost host;
    auto info = ComputeDllInformation(fakes.table, host, "S");
    EXPECT_EQ(info.lines[0], "UNLHA32.DLL : 1.00");
    EXPECT_EQ(info.lines[2], "UNARJ32J.DLL : なし");
    EXPECT_EQ(info.lines[4], "UNRAR32.DLL : 1.00");
    EXPECT_EQ(info.lines[5], "UNRAR.DLL : 存在");
    EXPECT_TRUE(info.switchOff[KindArj]);
    EXPECT_FALSE(info.switchOff[KindRar]);

    fakes.table[KindRar].findNext = nullptr;  // an incomplete engine is missing
    info = ComputeDllInformation(fakes.table, host, "S");
    EXPECT_EQ(info.lines[4], "UNRAR32.DLL : なし");
    EXPECT_EQ(info.lines[5], "UNRAR.DLL : なし");
    EXPECT_TRUE(info.switchOff[KindRar]);

    host.folder = "W";
    host.files = {"W\\WinRAR.exe", "W\\UnRARDLL.rar"};
    info = ComputeDllInformation(fakes.table, host, "S");
    EXPECT_EQ(info.lines[4], "UNRAR32.DLL : なし");
    EXPECT_EQ(info.lines[5], "UNRAR.DLL : 存在");
    EXPECT_TRUE(info.switchOff[KindRar]);
    EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace pyx
