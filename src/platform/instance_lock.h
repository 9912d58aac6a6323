#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace pyx {

// The single-instance lock: an exclusive flock on "<name>.lock" in $XDG_RUNTIME_DIR (else the
// temp folder). The kernel drops it when the process ends, even by a crash, so a stale lock file
// never blocks the next start.
class InstanceLock {
  public:
    enum class State {
        Held,           // this process owns the lock
        HeldElsewhere,  // another process owns it
        Unavailable,    // the lock file could not be opened or locked; see Error()
    };

    // Opens `folder`/`name`.lock and tries the lock without waiting.
    InstanceLock(const std::filesystem::path& folder, std::string_view name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    State GetState() const { return state; }
    // What went wrong when the state is Unavailable, else "".
    const std::string& Error() const { return error; }

  private:
    int fd = -1;
    State state = State::Unavailable;
    std::string error;
};

// $XDG_RUNTIME_DIR when it is set and not empty, else the temp folder.
std::filesystem::path LockFolder();

}  // namespace pyx
