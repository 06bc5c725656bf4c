#!/usr/bin/env bash
# Checks that the host-link library exports orla::Link and orla::LinkDef and no symbol of its
# private copy of the framework (names in nuv::, their vtables and typeinfo).
set -u
lib=${1:?usage: check_exports.sh LIBRARY}
symbols=$(nm -D --defined-only -C "$lib" | cut -d' ' -f3-) || exit 2
status=0
for wanted in 'orla::Link::callSolver()' 'orla::Link::readyAPI(vopRec\*)' \
              'orla::Link::initialize()' 'orla::Link::finalize()' 'orla::LinkDef::LinkDef()'; do
  grep -qx "$wanted" <<<"$symbols" || { echo "missing export: $wanted"; status=1; }
done
leaks=$(grep -E '^((vtable|typeinfo|typeinfo name|VTT) for )?nuv::' <<<"$symbols")
[ -z "$leaks" ] || { echo "framework symbols exported:"; echo "$leaks"; status=1; }
exit $status
