// One idle watch per session: two watchers of one user and display (an autostart entry and a
// line of the compositor's configuration) would each start a saver on every idle stretch.
//
//   - ClaimIdleWatch claims the watch of the display the program runs on (WAYLAND_DISPLAY,
//     else DISPLAY) for the life of the process; false when another process holds it. A
//     watcher that crashed holds nothing.
#pragma once

bool ClaimIdleWatch();
