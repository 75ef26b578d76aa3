// Reading a Wayland connection, the one way every connection of ours does it (the saver's
// windows, the idle watch): it never waits longer than it is asked to, and it says when the
// connection has failed or the compositor has closed it, so that no caller loops on a dead
// connection or waits for ever on a compositor that does not answer.
#pragma once
#include <wayland-client.h>

// Dispatches what has arrived, first waiting up to timeoutMs (-1: for ever, 0: not at all) for
// something to arrive. False once the connection has failed or closed; a wait that ends with
// nothing read, or that a signal cuts short, is no failure.
bool ReadWaylandEvents(wl_display* display, int timeoutMs);

// How long a compositor may take to answer a new connection's first round trip before it
// counts as absent: a socket that accepts and never answers must not hang a program that
// could use X11 instead, or that has to say it cannot run.
inline constexpr int kFirstAnswerMs = 2000;

// A round trip that gives up after timeoutMs; what arrives meanwhile is dispatched. False when
// the compositor has not answered in time or the connection has failed.
bool RoundTripWithin(wl_display* display, int timeoutMs);
