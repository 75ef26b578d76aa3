// The 3D hardware test: which kind of pixel format the saver gets, and a short spinning,
// fading picture of the front texture when the graphics hardware draws it.
#pragma once

// 1: the graphics driver's own format; 2: a generic layer over graphics hardware; otherwise
// what an earlier test of the process left, 0 at the start.
extern int testResult;

// Run by RunSaver in place of the main loop, with the test window's context current: records
// the verdict and, unless it is still 0, draws the picture.
void RunHardwareTest();

// The dialog's "3D Test" button: a full test run in its own mode, the window closed again,
// the pointer shown, and the verdict in a box when the install folder was found.
void RunDialogHardwareTest();
