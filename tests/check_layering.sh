#!/usr/bin/env bash
# Checks that dependencies point one way: the framework knows nothing of the plug-in, and only
# the plug-in's Xpress wrappers talk to the optimizer or name the platform folders.
set -u
root=${1:?usage: check_layering.sh SOURCE_DIR}
cd "$root" || exit 2
status=0
fail() { echo "layering: $1"; status=1; }

hits=$(grep -rn --include='*.hpp' --include='*.cpp' '#include "qel/' src/nuv)
[ -z "$hits" ] || fail "the framework includes the plug-in:"$'\n'"$hits"
hits=$(grep -rln --include='*.hpp' --include='*.cpp' -e 'platform/' -e 'coin/' -e 'Clp' -e 'Cbc' src)
[ -z "$hits" ] || fail "src names the platform or COIN-OR:"$'\n'"$hits"
if [ -d src/qel ]; then
  hits=$(grep -rln --include='*.hpp' --include='*.cpp' -e '<xprs.h>' -e '\bXPRS[A-Za-z_0-9]*(' src |
         grep -v '^src/qel/xpress/')
  [ -z "$hits" ] || fail "optimizer calls outside src/qel/xpress:"$'\n'"$hits"
fi
exit $status
