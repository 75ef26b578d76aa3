// vostrel-idle's start with the user's sessions, turned on and off by the user: an XDG
// autostart entry, which GNOME and KDE Plasma run on X11 and Wayland alike (and sway through
// one line of its configuration), rather than a systemd user unit, which needs a session that
// reaches graphical-session.target and hands its display to the user's manager (sway does
// neither by itself).
#pragma once
#include <string>

// The entry's text: Exec runs `program` with `--wait waitText` when a wait is given.
std::string IdleAutostartEntry(const std::string& program, const std::string& waitText);
// Each prints what it did (or why it could not) and returns the exit status.
int EnableIdleAutostart(const std::string& program, const std::string& waitText);
int DisableIdleAutostart();
