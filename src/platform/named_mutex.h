// The process-wide named mutex, held for the life of the process. A second instance is
// never refused: the mutex only marks that an instance runs.
// Linux: a shared lock on a lock file in the user's runtime folder.
#pragma once

void CreateNamedMutex(const char* name);
