// Watching the session for a stretch without input, from the idle source of the session the
// program runs in (the compositor's idle protocols or mutter's idle monitor on Wayland, the
// server's idle alarms on X11). The sources honour the session's idle inhibitors where they
// have them, so a playing video keeps the idle state away. Every source tells its news as
// events, so a wait costs no wake-ups of its own.
//
//   - OpenIdleMonitor picks the first source the session answers on, watching for `idleMs`
//     milliseconds without input; null when the session offers none.
//   - Wait sleeps until the source has news, one of `alsoWatched` (descriptors of the caller's
//     own events) turns readable, or `timeoutMs` has passed (-1: no limit), and tells the state
//     then: idle once the stretch has passed, active again on input, and ended for good once
//     the session has gone away (the compositor or the X server closed the connection).
//   - DesktopIdleDelaySeconds is the desktop's own idle delay where one can be read (GNOME's
//     setting), 0 where none can.
#pragma once
#include <memory>
#include <span>

enum class IdleState { active, idle, ended };

class IdleMonitor {
  public:
    virtual ~IdleMonitor() = default;
    virtual IdleState Wait(int timeoutMs, std::span<const int> alsoWatched) = 0;
};

std::unique_ptr<IdleMonitor> OpenIdleMonitor(long long idleMs);
unsigned DesktopIdleDelaySeconds();
