// Data files as the rest of the system names them: an install folder followed by a relative
// path in Windows spelling, which begins with a backslash ("\data\front.jpg").
//
// Linux: backslashes become slashes, and where a name is missing in the exact letter case
// each name is matched without regard to case, so "\data\front.jpg" finds data/Front.jpg.
#pragma once
#include <string>

// The path of the file on this system. When no file matches, the literal joined path, so that
// opening it fails in the usual way.
std::string NativeDataPath(const std::string& folder, const char* relative);

// True when the path names a regular file this process can open for reading; nothing stays
// open. A FIFO or a folder does not count as a file.
bool FileOpensForReading(const std::string& path);
