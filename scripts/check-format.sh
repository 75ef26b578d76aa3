#!/bin/sh
# Fails when a C++ file of the project differs from what clang-format makes of it with the
# project's .clang-format; prints the differences. Usage: check-format.sh [source root]
# One version decides, the same on every release we support: each release's default
# clang-format lays out a few constructs differently (`struct stat info {};`), so Debian 12's
# and 13's would never both pass. Debian 12 and 13 both ship clang-format-19.
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2
find src tests bench tools -name '*.cpp' -o -name '*.h' | sort |
    xargs clang-format-19 --style=file --dry-run --Werror
