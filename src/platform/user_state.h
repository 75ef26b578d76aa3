// The user's own state folder for this program: files a run keeps for the user between runs
// that are neither settings nor shared with other users (the user's copy of the report page).
//
// UserStatePath answers the path of a file of that name in the folder, creating the folder
// (and the ones above it) when missing; empty when the folder cannot be made or no home is
// known. It never creates the file itself.
#pragma once
#include <string>

std::string UserStatePath(const char* fileName);
