#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "check/check_one.h"

namespace pyx {

// Counts shown by the progress line.
struct BatchProgress {
    std::uint64_t found = 0;
    std::uint64_t done = 0;
    std::uint64_t bytesFound = 0;
    std::uint64_t bytesDone = 0;
    std::string current;
};

// Tests archives on `jobs` threads and hands each damaged entry to `emit` in the order the files
// were added, whatever order they finish in. At most a few files per thread wait at once, so
// memory stays bounded however large the tree.
class BatchChecker {
  public:
    using Emit = std::function<void(const std::string& entry)>;
    using ShowProgress = std::function<void(const BatchProgress&)>;

    BatchChecker(const ArchiverTable& table, const CheckSettings& settings, int jobs, Emit emit,
                 ShowProgress showProgress, const std::atomic<bool>& stop);
    ~BatchChecker();

    void Add(const std::string& folder, const std::string& name);
    // Waits for every started check; with the stop flag set, files not yet started are skipped.
    void Finish();

    std::uint64_t damaged() const { return damaged_; }

  private:
    struct Slot {
        std::string folder, name;
        std::uint64_t size = 0;
        bool done = false;
        bool skipped = false;
        CheckOutcome outcome;
    };

    void Work();
    void Run(Slot& slot);
    // Emits the finished slots at the front, in order. Needs mutex_ held.
    void FlushLocked();

    const ArchiverTable& table_;
    const CheckSettings settings_;
    const Emit emit_;
    const ShowProgress showProgress_;
    const std::atomic<bool>& stop_;
    const std::size_t limit_;

    std::mutex mutex_;
    std::condition_variable workReady_;
    std::condition_variable slotDone_;
    std::deque<std::unique_ptr<Slot>> inOrder_;
    std::deque<Slot*> waiting_;
    bool closing_ = false;
    BatchProgress progress_;
    std::uint64_t damaged_ = 0;
    std::vector<std::thread> workers_;
};

}  // namespace pyx
