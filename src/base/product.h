// The product's facts: its name as the system shows it and the team's own addresses, shown in
// the credits and the dialog and used by the mail links.
#pragma once

inline constexpr const char* kProductName = "Vostrel ScreenSaver";
// The version is the project's own (CMake's project version), handed to every layer by the
// build as the string literal VOSTREL_VERSION, so that texts are joined with it at compile
// time: the dialog's title, the credits, the mail subject, the install folder's key.
// Every box of the saver, the entry point and the install check carries the product's name.
inline constexpr const char* kBoxTitle = kProductName;

inline constexpr const char* kTeamName = "THE VOSTREL TEAM";
inline constexpr const char* kHomePage = "https://vostrel.example.org/";
inline constexpr const char* kContactAddress = "team@vostrel.example.org";

// The companion programs, installed beside `vostrel`: the offscreen renderer of the show's
// frames, and the saver as a screen-saver host's program.
inline constexpr const char* kRendererProgram = "vostrel-render";
inline constexpr const char* kHostProgram = "vostrel-hack";
