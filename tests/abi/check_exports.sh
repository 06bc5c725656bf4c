#!/usr/bin/env bash
# Checks that the plug-in library exports exactly its four functions and nothing else.
set -uo pipefail
lib=${1:?usage: check_exports.sh LIBRARY}
symbols=$(nm -D --defined-only "$lib" | awk '{print $3}' | sort) || exit 2
expected=$'qelCallSolver\nqelCreate\nqelFree\nqelReadyAPI'
[ "$symbols" = "$expected" ] && exit 0
echo "exported symbols differ from the four functions:"
diff <(echo "$expected") <(echo "$symbols")
exit 1
