// The process-wide named mutex, held for the life of the process. A second instance is
// never refused: the mutex only marks that an instance runs.
// Linux: a shared lock on a lock file in a folder only this user can write (the runtime folder,
// or a private one in /tmp); the last instance to end removes the file.
#pragma once

void CreateNamedMutex(const char* name);
