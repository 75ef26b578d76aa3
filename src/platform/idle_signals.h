// The signals vostrel-idle waits for as events rather than through a handler's flag, so that
// its one wait wakes for them: SIGTERM, SIGINT and SIGHUP (the request to end), and SIGCHLD
// where a child's end cannot be watched through a descriptor of its own.
//
//   - The constructor blocks the signals and opens the descriptor that reads them; until then
//     they keep their default action.
//   - AlsoWatchChildren adds SIGCHLD.
//   - TakeStopRequest reads what has arrived without waiting; true when a request to end was
//     among it (or came before).
#pragma once

class IdleSignals {
  public:
    IdleSignals();
    IdleSignals(const IdleSignals&) = delete;
    IdleSignals& operator=(const IdleSignals&) = delete;
    ~IdleSignals();

    int Descriptor() const { return descriptor_; }
    void AlsoWatchChildren();
    bool TakeStopRequest();

  private:
    int descriptor_ = -1;
    bool stopRequested_ = false;
};
