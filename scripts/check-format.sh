#!/bin/sh
# Fails when a C++ file of the project differs from what clang-format makes of it with the
# project's .clang-format; prints the differences. Usage: check-format.sh [source root]
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2
find src tests bench tools -name '*.cpp' -o -name '*.h' | sort |
    xargs clang-format --style=file --dry-run --Werror
