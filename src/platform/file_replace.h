// Whole-file replacement that a crash cannot tear.
//
// WriteFileAtomically gives `path` exactly `content`: the text goes to a new file beside it,
// which then takes the old file's place in one step, so a reader, or a process killed at any
// moment, sees either the old file or the new one, never a mixture or a shortened file.
// A symbolic link is followed, and the file it names is replaced; the replacement keeps the old
// file's permission bits. A file that is read-only (no write permission bit, or none for this
// process) is not replaced, even where the folder would allow it, as a read-only file on Windows
// cannot be overwritten. False, with the old file untouched, when any step fails.
//
// A process killed while it writes leaves its temporary file; RemoveStaleReplacements(path)
// removes those that processes no longer running left beside `path`, and nothing else.
#pragma once
#include <string>
#include <string_view>

bool WriteFileAtomically(const std::string& path, std::string_view content);
void RemoveStaleReplacements(const std::string& path);
// True when this process may write the folder the file is in (after following a link): a
// user's own copy of the program, not one installed for everybody, whose folders only the
// administrator may write. Says nothing of the file itself, which may still be read-only.
bool FileFolderWritable(const std::string& path);
