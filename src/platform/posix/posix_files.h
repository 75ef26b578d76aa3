// The file work the Linux backends share, done one way: the user's XDG base folders, making a
// folder path, opening a file for reading without ever blocking, writing a whole buffer, and
// putting a written temporary file in a file's place with one durability rule.
#pragma once
#include <unistd.h>

#include <string>
#include <string_view>

// A descriptor closed when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

// The base folder an XDG variable names (XDG_CONFIG_HOME, XDG_STATE_HOME), or the home folder
// ($HOME, else the password database's) followed by `underHome` (".config"); empty when there
// is none. As the XDG rules say, a relative value counts as unset.
std::string XdgBaseFolder(const char* variable, const char* underHome);

// True when the path (after following links) is a folder.
bool IsFolder(const std::string& path);

// Makes each missing folder of an absolute path, private to the user (mode 0700); true when
// the path is a folder afterwards.
bool MakeFolders(const std::string& folder);

// A read-only descriptor of a regular file, or -1 with errno telling why (ENOENT: missing,
// EINVAL: no regular file). Opened non-blocking, since a FIFO without a writer would block in
// the open itself, and blocking again for the reads that follow.
int OpenRegularFile(const std::string& path);

// The whole of `content` to a descriptor, through short writes and signals. False on any
// error, and on a write that makes no progress (a full device can answer 0 for ever).
bool WriteAll(int fd, std::string_view content);

// Puts the written file `temporary` (open as `fd`, in the same folder as `target`) in the
// target's place: flushed to disk, renamed over the target, and the folder flushed, so that
// neither a killed process nor a lost power supply leaves a torn or missing file. The caller
// still owns `fd`, and removes `temporary` when this fails.
bool CommitReplacement(int fd, const std::string& temporary, const std::string& target);
