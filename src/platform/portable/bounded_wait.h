// Work that its caller waits for only so long: a sound device or a drive that hangs inside a
// system call must hold its own thread, never the show's thread with the screen taken.
//
// StartUnjoined runs the work on a thread that nothing ever joins, so the work must own or
// share everything it touches: it may outlive the caller's interest, and even the caller. The
// caller and the work meet in a WorkEnd that both share. The caller's AwaitWithin waits for the
// work's Report for at most the time given and otherwise gives the work up for good; the
// decision is taken under one lock, so exactly one side undoes what the work made: the caller
// when the work reported in time, the work itself (Report false) when it was given up.
// Plain C++ threads, the same on every system.
#pragma once
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

class WorkEnd {
  public:
    // Called by the work once it is done: true when its caller still waits for the result;
    // false when the caller gave up first, so the result is the work's to undo.
    bool Report() {
        const std::lock_guard hold(lock_);
        done_ = true;
        changed_.notify_all();
        return !givenUp_;
    }

    // True when the work reports within `limit`; otherwise the work is given up.
    template <class Duration>
    bool AwaitWithin(Duration limit) {
        std::unique_lock hold(lock_);
        if (!changed_.wait_for(hold, limit, [this] { return done_; })) givenUp_ = true;
        return done_;
    }

    // True once the work has reported, without waiting.
    bool Reported() {
        const std::lock_guard hold(lock_);
        return done_;
    }

  private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool done_ = false;
    bool givenUp_ = false;
};

template <class Work>
void StartUnjoined(Work&& work) {
    std::thread(std::forward<Work>(work)).detach();
}
