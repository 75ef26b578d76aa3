// The idle source of an X11 session: alarms on the server's IDLETIME counter (the SYNC
// extension's time since the last input), so the server itself tells when the wait has passed
// and when input comes again, and nothing is read while the session stays as it is. Both
// alarms stay armed for the life of the watch, each at the wait: the rising one fires when the
// counter climbs past it, the falling one when input drops the counter back below it, which it
// can do only from an idle stretch (an alarm at a smaller value would also fire on every pause
// in typing). A lost connection to the server is the session's end: Xlib would end the process
// there, before the saver could be stopped, so its error handler does nothing and its exit
// handler only notes the loss and returns (Xlib then leaves the dead display alone).
#include <X11/Xlib.h>
#include <X11/extensions/sync.h>

#include <cstring>
#include <memory>
#include <span>

#include "platform/idle_monitor.h"
#include "platform/idle_poll.h"

namespace {

int IgnoreConnectionLost(Display*) {
    return 0;
}

void NoteConnectionLost(Display*, void* lost) {
    *static_cast<bool*>(lost) = true;
}

XSyncCounter IdleTimeCounter(Display* display) {
    int count = 0;
    XSyncSystemCounter* counters = XSyncListSystemCounters(display, &count);
    XSyncCounter found = None;
    for (int i = 0; i < count; ++i)
        if (std::strcmp(counters[i].name, "IDLETIME") == 0) found = counters[i].counter;
    if (counters) XSyncFreeSystemCounterList(counters);
    return found;
}

XSyncValue SyncValue(long long value) {
    XSyncValue converted;
    XSyncIntsToValue(&converted, static_cast<unsigned>(value & 0xffffffff),
                     static_cast<int>(value >> 32));
    return converted;
}

XSyncAlarm CreateAlarm(Display* display, XSyncCounter counter, XSyncTestType test,
                       long long valueMs) {
    XSyncAlarmAttributes attributes{};
    attributes.trigger.counter = counter;
    attributes.trigger.value_type = XSyncAbsolute;
    attributes.trigger.wait_value = SyncValue(valueMs);
    attributes.trigger.test_type = test;
    attributes.delta = SyncValue(0);
    attributes.events = True;
    const unsigned long fields = XSyncCACounter | XSyncCAValueType | XSyncCAValue |
                                 XSyncCATestType | XSyncCADelta | XSyncCAEvents;
    return XSyncCreateAlarm(display, fields, &attributes);
}

class X11IdleMonitor final : public IdleMonitor {
  public:
    X11IdleMonitor(Display* display, int syncEventBase, XSyncCounter counter, long long idleMs)
        : display_(display), alarmEvent_(syncEventBase + XSyncAlarmNotify) {
        XSetIOErrorHandler(IgnoreConnectionLost);
        XSetIOErrorExitHandler(display_, NoteConnectionLost, &lost_);
        idleAlarm_ = CreateAlarm(display_, counter, XSyncPositiveTransition, idleMs);
        activeAlarm_ = CreateAlarm(display_, counter, XSyncNegativeTransition, idleMs);
        XSyncValue idleNow;
        if (XSyncQueryCounter(display_, counter, &idleNow) &&
            !XSyncValueLessThan(idleNow, SyncValue(idleMs))) {
            state_ = IdleState::idle;
        }
        XFlush(display_);
    }
    ~X11IdleMonitor() override {
        if (!lost_) {
            XSyncDestroyAlarm(display_, idleAlarm_);
            XSyncDestroyAlarm(display_, activeAlarm_);
        }
        XCloseDisplay(display_);
    }

    IdleState Wait(int timeoutMs, std::span<const int> alsoWatched) override {
        // Events already read into Xlib's queue would not wake the poll.
        if (!lost_ && XPending(display_) == 0)
            SleepUntilReadable(ConnectionNumber(display_), timeoutMs, alsoWatched);
        ReadAlarms();
        return lost_ ? IdleState::ended : state_;
    }

  private:
    // Reading also meets a closed connection, which then counts as lost.
    void ReadAlarms() {
        while (!lost_ && XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type != alarmEvent_) continue;
            const auto* alarm = reinterpret_cast<XSyncAlarmNotifyEvent*>(&event);
            if (alarm->alarm == idleAlarm_) state_ = IdleState::idle;
            if (alarm->alarm == activeAlarm_) state_ = IdleState::active;
        }
    }

    Display* display_;
    int alarmEvent_;
    XSyncAlarm idleAlarm_ = None;
    XSyncAlarm activeAlarm_ = None;
    IdleState state_ = IdleState::active;
    bool lost_ = false;
};

}  // namespace

std::unique_ptr<IdleMonitor> OpenX11IdleMonitor(long long idleMs) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    XSyncCounter counter = None;
    if (XSyncQueryExtension(display, &eventBase, &errorBase) &&
        XSyncInitialize(display, &major, &minor)) {
        counter = IdleTimeCounter(display);
    }
    if (counter == None) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<X11IdleMonitor>(display, eventBase, counter, idleMs);
}
