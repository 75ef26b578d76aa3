// What a process keeps from one run of the saver to the next, put back before every test of
// every test program (a listener registered in process_state.cpp, which each program links),
// so that a program's tests pass whole and in any order. A fixture's own SetUp runs after it.
#pragma once

// Empties the hook points but for boxes, which fail the test unless it watches for them, shuts
// the show down, puts the tests' offscreen context back to GL's defaults and leaves it no
// longer current, closes a saver window a run left open and unregisters its class, then resets
// the records below.
void ResetProcessState();

// The records a process starts with: the show's state, default settings, the dialog's mode
// with no preview, hardware test or quiet copy, no window and no screen size, and a generator
// that has not drawn yet.
void ResetRunRecords();
