// Which of several copies of a program running at once for one user is the first.
//
//   - ClaimFirstCopy answers true for the first process of this user that claims the name
//     while no other process holding it still runs, false for the others and when the claim
//     cannot be made at all. The claim lasts until the process ends, however it ends, and
//     leaves nothing behind.
#pragma once

bool ClaimFirstCopy(const char* name);
