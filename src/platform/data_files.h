// Data files as the rest of the system names them: an install folder followed by a relative
// path in Windows spelling, which begins with a backslash ("\data\front.jpg"). Where a name is
// missing in the exact letter case, each name is matched without regard to case, as Windows
// matches it, so "\data\front.jpg" finds data/Front.jpg.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

// The path of the file on this system. When no file matches, the literal joined path, so that
// opening it fails in the usual way.
std::string NativeDataPath(const std::string& folder, const char* relative);

// Every file the program reads is opened through here, because the open itself must never wait:
// a FIFO in a file's place would hold the process for ever, and a full-screen run holds the
// keyboard and the pointer meanwhile. The stream of a regular file opened for reading (close it
// with fclose); null, as for a missing file, for anything else: a FIFO, a device, a folder.
std::FILE* OpenRegularFileForReading(const std::string& path);

// True when OpenRegularFileForReading would succeed; nothing stays open.
bool FileOpensForReading(const std::string& path);

// The whole of a regular file opened as above, when it holds at most `limit` bytes: true with
// the bytes. False, with `bytes` empty, for anything OpenRegularFileForReading refuses, a larger
// file or a failed read. Each kind of file states its own limit, so that a file of gigabytes
// (sparse, or a device behind a link) costs one look at its size instead of the whole memory.
bool ReadRegularFile(const std::string& path, std::size_t limit, std::vector<char>& bytes);
