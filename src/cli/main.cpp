// pyxidane-check: the headless checker. Same engines, same listing rules, walk order and entry
// texts as the window; it never writes to an archive unless --update-dates is given.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "archivers/binding_table.h"
#include "check/folder_walk.h"
#include "check/offered_modes.h"
#include "cli/batch_check.h"
#include "cli/cli_options.h"
#include "platform/folder_listing.h"
#include "platform/time_zone.h"
#include "settings/file_mask.h"

namespace {

std::atomic<bool> stopRequested{false};

void OnInterrupt(int) {
    stopRequested = true;
}

// Draws "done/found  MB  name" on a terminal's standard error, at most ten times a second.
class ProgressLine {
  public:
    explicit ProgressLine(bool enabled) : enabled_(enabled) {}
    void Show(const pyx::BatchProgress& p) {
        if (!enabled_)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(100))
            return;
        last_ = now;
        std::string name =
            p.current.size() > 40 ? "..." + p.current.substr(p.current.size() - 37) : p.current;
        std::fprintf(stderr, "\r\033[K%llu/%llu archives  %.1f/%.1f MB  %s",
                     static_cast<unsigned long long>(p.done),
                     static_cast<unsigned long long>(p.found),
                     static_cast<double>(p.bytesDone) / 1e6,
                     static_cast<double>(p.bytesFound) / 1e6, name.c_str());
        drawn_ = true;
    }
    void Clear() {
        if (drawn_)
            std::fputs("\r\033[K", stderr);
        drawn_ = false;
    }

  private:
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto options = pyx::ParseCliOptions(args, &error);
    if (!options) {
        std::fprintf(stderr, "pyxidane-check: %s\n%s", error.c_str(), pyx::kCliUsage);
        return 2;
    }
    if (options->help) {
        std::fputs(pyx::kCliUsage, stdout);
        return 0;
    }

    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    pyx::CacheLocalTimeZone();
    pyx::BindArchivers();
    std::array<int, pyx::kLastArchiverKind + 1> modes{};
    for (int kind = pyx::kFirstArchiverKind; kind <= pyx::kLastArchiverKind; ++kind) {
        modes[static_cast<std::size_t>(kind)] =
            pyx::UsableBinding(pyx::archiverBindings, kind) ? options->mode : 0;
    }
    modes = pyx::DropUnofferedModes(modes, pyx::archiverBindings);
    if (options->mode == 4) {
        std::fputs("pyxidane-check: CAB and RAR archives are not tested at probe depth\n", stderr);
    }

    pyx::CheckSettings settings;
    settings.modes = modes;
    settings.updateDate = options->updateDates;
    const std::string mask = pyx::BuildFileMask(modes, options->selfExtracting);

    const int jobs = options->jobs > 0
                         ? options->jobs
                         : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    ProgressLine progress(options->progress && ::isatty(STDERR_FILENO));
    bool ioError = false;
    pyx::BatchChecker checker(
        pyx::archiverBindings, settings, jobs,
        [&](const std::string& entry) {
            progress.Clear();
            std::fputs(entry.c_str(), stdout);
            std::fputc('\n', stdout);
        },
        [&](const pyx::BatchProgress& p) { progress.Show(p); }, stopRequested);

    for (const auto& arg : options->paths) {
        if (stopRequested)
            break;
        std::error_code ec;
        std::filesystem::path path = std::filesystem::absolute(arg, ec).lexically_normal();
        std::string text = path.string();
        while (text.size() > 1 && text.back() == '/')
            text.pop_back();
        struct stat st {};
        if (ec || ::stat(text.c_str(), &st) != 0) {
            progress.Clear();
            std::fprintf(stderr, "pyxidane-check: cannot open '%s': %s\n", arg.c_str(),
                         ec ? ec.message().c_str() : std::strerror(errno));
            ioError = true;
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            pyx::WalkOptions walk{mask, options->recurse};
            pyx::WalkFolderTree(
                text, walk,
                [&](const std::string& folder, const std::string& name) {
                    if (stopRequested)
                        return false;
                    checker.Add(folder, name);
                    return true;
                },
                [&](const std::string& folder) {
                    progress.Clear();
                    std::fprintf(stderr, "pyxidane-check: cannot read folder '%s'\n",
                                 folder.c_str());
                    ioError = true;
                });
        } else {
            const std::filesystem::path file(text);
            if (pyx::MatchesMask(file.filename().string(), mask)) {
                checker.Add(file.parent_path().string(), file.filename().string());
            }
        }
    }
    checker.Finish();
    progress.Clear();
    std::fflush(stdout);
    if (stopRequested) {
        std::fputs("pyxidane-check: stopped\n", stderr);
        return 130;
    }
    if (ioError)
        return 2;
    return checker.damaged() ? 1 : 0;
}
