// The named mutex on Windows: CreateMutexA, unowned, so any number of instances hold it
// together; its handle stays open until the process ends, which closes it.
// CreateMutexA, not the wide call: the name is one of the program's own ASCII constants.
// Left out: waiting on the mutex and telling whether another instance holds it; nothing asks.
#include <windows.h>

#include "platform/named_mutex.h"

void CreateNamedMutex(const char* name) {
    CreateMutexA(nullptr, FALSE, name);
}
