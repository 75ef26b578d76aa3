// Whether the session is locked, as the login manager tells it: the saver is not started over
// a lock screen. False when nothing can tell (no login manager, no session of the caller's).
#pragma once

bool IdleSessionLocked();
