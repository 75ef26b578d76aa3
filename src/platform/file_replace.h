// Whole-file replacement that a crash cannot tear.
//
// WriteFileAtomically gives `path` exactly `content`: the text goes to a new file beside it,
// which then takes the old file's place in one step, so a reader, or a process killed at any
// moment, sees either the old file or the new one, never a mixture or a shortened file.
// A symbolic link is followed, and the file it names is replaced; the replacement keeps the old
// file's permission bits. False, with the old file untouched, when any step fails.
#pragma once
#include <string>
#include <string_view>

bool WriteFileAtomically(const std::string& path, std::string_view content);
// True when WriteFileAtomically could replace the file: it exists and this process may write
// both the file and the folder it is in (after following a link). An installed copy's files
// usually fail this for everyone but the administrator.
bool FileReplaceable(const std::string& path);
