// Where a run's report page is.
//
// The installed page when this process may write its folder (the build tree, a copy the user
// installed for themselves), even when the page itself is read-only: someone made it so on
// purpose, and every user, the administrator too, then gets the same box. Otherwise, as for a
// package installed under /usr, which only the administrator may write, the user's own copy
// in the user's state folder, made from the installed page the first time it is needed and
// kept from then on. When no copy can be made (no home, the installed page unreadable) the
// installed page is answered, and reading or writing it then fails with the report's usual
// boxes.
#pragma once
#include <string>

std::string ReportPageLocation(const std::string& installedPage);
