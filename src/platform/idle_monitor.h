// Watching the session for a stretch without input, from whatever idle source the session
// offers (the compositor's idle protocols on Wayland, the server's idle counter on X11). The
// sources honour the session's idle inhibitors where they have them, so a playing video keeps
// the idle state away.
//
//   - OpenIdleMonitor picks the first source the session answers on, watching for `idleMs`
//     milliseconds without input; null when the session offers none.
//   - Wait waits up to `timeoutMs` for news and tells the state then: idle once the stretch has
//     passed, active again on input, and ended for good once the session has gone away (the
//     compositor or the X server closed the connection).
//   - DesktopIdleDelaySeconds is the desktop's own idle delay where one can be read (GNOME's
//     setting), 0 where none can.
#pragma once
#include <memory>

enum class IdleState { active, idle, ended };

class IdleMonitor {
  public:
    virtual ~IdleMonitor() = default;
    virtual IdleState Wait(int timeoutMs) = 0;
};

std::unique_ptr<IdleMonitor> OpenIdleMonitor(long long idleMs);
unsigned DesktopIdleDelaySeconds();
