// The project's own addresses, shown in the credits and the dialog and used by the mail links.
#pragma once

inline constexpr const char* kTeamName = "THE VOSTREL TEAM";
inline constexpr const char* kHomePage = "https://vostrel.example.org/";
inline constexpr const char* kContactAddress = "team@vostrel.example.org";
