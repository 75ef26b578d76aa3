// Whether standard error goes to a terminal that a person watches, rather than to a file or a
// pipe: a terminal takes a progress line rewritten in place with a carriage return, a log would
// keep every rewrite.
#pragma once

bool StandardErrorIsTerminal();
