// A kernel handle closed when it goes out of scope. Both of the system's "no handle" values
// count as none: CreateFile answers INVALID_HANDLE_VALUE, most other calls null.
#pragma once
#include <windows.h>

class UniqueHandle {
  public:
    explicit UniqueHandle(HANDLE handle = nullptr) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    ~UniqueHandle() {
        if (valid()) CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // Gives the handle up to a new owner, which closes it.
    HANDLE release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }

  private:
    HANDLE handle_;
};
