#include "cli/batch_check.h"

#include <sys/stat.h>

#include <chrono>

#include "check/damaged_entry.h"

namespace pyx {

BatchChecker::BatchChecker(const ArchiverTable& table, const CheckSettings& settings, int jobs,
                           Emit emit, ShowProgress showProgress, const std::atomic<bool>& stop)
    : table_(table),
      settings_(settings),
      emit_(std::move(emit)),
      showProgress_(std::move(showProgress)),
      stop_(stop),
      limit_(static_cast<std::size_t>(jobs) * 4) {
    if (jobs > 1) {
        for (int i = 0; i < jobs; ++i)
            workers_.emplace_back([this] { Work(); });
    }
}

BatchChecker::~BatchChecker() {
    Finish();
}

void BatchChecker::Run(Slot& slot) {
    slot.outcome = CheckArchiveFile(slot.folder, slot.name, table_, settings_);
}

void BatchChecker::Add(const std::string& folder, const std::string& name) {
    auto slot = std::make_unique<Slot>();
    slot->folder = folder;
    slot->name = name;
    struct stat st {};
    if (::stat(JoinPath(folder, name).c_str(), &st) == 0)
        slot->size = static_cast<std::uint64_t>(st.st_size);

    std::unique_lock lock(mutex_);
    progress_.found++;
    progress_.bytesFound += slot->size;
    if (workers_.empty()) {
        // One job: test right here, no threads involved.
        progress_.current = name;
        if (showProgress_)
            showProgress_(progress_);
        lock.unlock();
        Run(*slot);
        lock.lock();
        slot->done = true;
        progress_.done++;
        progress_.bytesDone += slot->size;
        inOrder_.push_back(std::move(slot));
        FlushLocked();
        return;
    }
    while (inOrder_.size() >= limit_) {
        FlushLocked();
        if (inOrder_.size() < limit_)
            break;
        slotDone_.wait_for(lock, std::chrono::milliseconds(100));
        if (showProgress_)
            showProgress_(progress_);
    }
    waiting_.push_back(slot.get());
    inOrder_.push_back(std::move(slot));
    workReady_.notify_one();
}

void BatchChecker::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        workReady_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
        if (waiting_.empty())
            return;
        Slot* slot = waiting_.front();
        waiting_.pop_front();
        if (stop_) {
            slot->skipped = true;
        } else {
            progress_.current = slot->name;
            lock.unlock();
            Run(*slot);
            lock.lock();
            progress_.done++;
            progress_.bytesDone += slot->size;
        }
        slot->done = true;
        slotDone_.notify_all();
    }
}

void BatchChecker::FlushLocked() {
    while (!inOrder_.empty() && inOrder_.front()->done) {
        const Slot& slot = *inOrder_.front();
        if (!slot.skipped && slot.outcome.failed) {
            ++damaged_;
            emit_(ComposeDamagedEntry(JoinPath(slot.folder, slot.name), slot.outcome.kind,
                                      slot.outcome.resultCode, slot.outcome.extraCode));
        }
        inOrder_.pop_front();
    }
}

void BatchChecker::Finish() {
    std::unique_lock lock(mutex_);
    closing_ = true;
    workReady_.notify_all();
    while (!inOrder_.empty()) {
        FlushLocked();
        if (inOrder_.empty())
            break;
        slotDone_.wait_for(lock, std::chrono::milliseconds(100));
        if (showProgress_)
            showProgress_(progress_);
    }
    lock.unlock();
    for (auto& worker : workers_) {
        if (worker.joinable())
            worker.join();
    }
    workers_.clear();
}

}  // namespace pyx
