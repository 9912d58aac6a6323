// pyxidane-check end to end, on a tree made from the committed fixtures through the real engines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun Check(const std::string& args) {
    const std::string command =
        std::string(PYX_CHECK_BINARY) + " --no-progress " + args + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    CliRun run{-1, {}};
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

class CheckCli : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("pyx-cli-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        const fs::path arj = fs::path(PYX_FIXTURES_DIR) / "arj";
        fs::create_directories(root_ / "t" / "sub");
        fs::create_directories(root_ / "t" / ".hidden");
        fs::copy_file(arj / "m1.arj", root_ / "t" / "a.arj");
        fs::copy_file(arj / "m4.arj", root_ / "t" / "b.arj");
        fs::copy_file(arj / "garbled.arj", root_ / "t" / "garbled.arj");
        fs::copy_file(arj / "m2.arj", root_ / "t" / "sub" / "c.ARJ");
        fs::copy_file(arj / "sfx.exe", root_ / "t" / "sub" / "setup.exe");
        fs::copy_file(arj / "m3.arj", root_ / "t" / ".hidden" / "h.arj");
        Damage(root_ / "t" / "b.arj", false);
        Damage(root_ / "t" / "sub" / "c.ARJ", true);
        Damage(root_ / "t" / ".hidden" / "h.arj", true);
        std::ofstream(root_ / "t" / "note.txt") << "not an archive";
    }
    void TearDown() override { fs::remove_all(root_); }

    // Flips one byte in the last member's data, or cuts the tail off.
    static void Damage(const fs::path& file, bool cut) {
        const auto size = fs::file_size(file);
        if (cut) {
            fs::resize_file(file, size * 2 / 3);
            return;
        }
        std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
        f.seekg(static_cast<std::streamoff>(size - 40));
        const char c = static_cast<char>(f.get());
        f.seekp(static_cast<std::streamoff>(size - 40));
        f.put(static_cast<char>(c ^ 0x5A));
    }
    std::string P(const char* relative) const { return (root_ / relative).string(); }

    fs::path root_;
};

TEST_F(CheckCli, ListsDamagedArchivesInWalkOrder) {
    const CliRun strict = Check("--depth strict " + P("t"));
    EXPECT_EQ(strict.status, 1);
    EXPECT_EQ(strict.out,
              P("t/b.arj") + "\n" + P("t/garbled.arj") + "\n" + P("t/sub/c.ARJ") + "\n");
    EXPECT_EQ(Check("--depth strict --jobs 3 " + P("t")).out, strict.out);

    const CliRun probe = Check("--depth probe --sfx " + P("t"));
    EXPECT_EQ(probe.status, 1);
    EXPECT_EQ(probe.out, P("t/b.arj") + " \"格納ファイルのチェックサムが合っていません\"\n" +
                             P("t/garbled.arj") +
                             " \"格納ファイルにパスワードがかかっています\"\n" + P("t/sub/c.ARJ") +
                             " \"書庫のデータが欠落しています\"\n");
}

TEST_F(CheckCli, DepthAndRecursionChooseWhatIsSeen) {
    // Headers only: the flipped data byte and the garbled member go unseen, the cut tail does not.
    EXPECT_EQ(Check("--depth normal " + P("t")).out, P("t/sub/c.ARJ") + "\n");
    const CliRun flat = Check("--no-recurse --depth strict " + P("t"));
    EXPECT_EQ(flat.out, P("t/b.arj") + "\n" + P("t/garbled.arj") + "\n");
    const CliRun one = Check("--depth strict " + P("t/a.arj"));
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out, "");
}

TEST_F(CheckCli, ExitStatusForUsageAndMissingPaths) {
    EXPECT_EQ(Check("").status, 2);
    EXPECT_EQ(Check("--depth deep " + P("t")).status, 2);
    EXPECT_EQ(Check(P("nowhere")).status, 2);
    EXPECT_EQ(Check("--help").status, 0);
}

TEST_F(CheckCli, NeverWritesToTheArchives) {
    const auto before = fs::last_write_time(root_ / "t" / "a.arj");
    Check("--depth probe --sfx " + P("t"));
    EXPECT_EQ(fs::last_write_time(root_ / "t" / "a.arj"), before);
    EXPECT_EQ(fs::file_size(root_ / "t" / "b.arj"),
              fs::file_size(fs::path(PYX_FIXTURES_DIR) / "arj" / "m4.arj"));
}

}  // namespace
