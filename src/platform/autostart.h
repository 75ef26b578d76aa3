// Programs started with each of the user's graphical sessions, as the XDG autostart rules have
// them: an entry `<name>.desktop` in the user's autostart folder ($XDG_CONFIG_HOME/autostart).
//
//   - AutostartEntryPath is that entry's path; empty when no home is known.
//   - WriteAutostartEntry writes the entry's text (making the folder); RemoveAutostartEntry
//     removes it (true when none is left). Both false with nothing done on failure.
#pragma once
#include <string>

std::string AutostartEntryPath(const char* name);
bool WriteAutostartEntry(const char* name, const std::string& text);
bool RemoveAutostartEntry(const char* name);
