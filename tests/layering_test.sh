#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# The folders are layers, each using only those above it:
#   stats -> design -> chart -> ui -> design_window, plan_window -> shell;  cli beside shell.
# Checks that the engine and the design layer include no Qt and that no
# folder includes a header of a layer below its own.
#   layering_test.sh <source root>
set -euo pipefail
root=${1:?usage: layering_test.sh <source root>}
cd "$root"

failed=0; passed=0
check() {
  local what=$1 hits=$2
  if [ -n "$hits" ]; then echo "FAIL: $what"; echo "$hits"; failed=$((failed + 1)); else echo "ok - $what"; passed=$((passed + 1)); fi
}

headers_of() { (cd "$1" && ls ./*.h 2>/dev/null | sed 's|^\./||'); }
# Lines of the given folders that include one of the headers of another.
includes_from() {
  local from=$1; shift
  local layer h hits=""
  for layer in "$@"; do
    for h in $(headers_of "$layer"); do
      hits+=$(grep -rn --include='*.cpp' --include='*.h' "#include \"$h\"" $from || true)
    done
  done
  printf '%s' "$hits"
}

check "stats and design use no Qt" "$(grep -rn --include='*.cpp' --include='*.h' -E '#include <Q|#include <qt' stats design || true)"
check "stats includes nothing from the layers below" "$(includes_from stats design chart ui design_window plan_window shell cli)"
check "design includes nothing from the layers below" "$(includes_from design chart ui design_window plan_window shell cli)"
check "chart includes nothing from the layers below" "$(includes_from chart ui design_window plan_window shell cli)"
check "ui includes nothing from the layers below" "$(includes_from ui design_window plan_window shell cli)"
check "design_window includes nothing from the plan window or below" "$(includes_from design_window plan_window shell cli)"
check "plan_window includes nothing from the design window or below" "$(includes_from plan_window design_window shell cli)"
check "cli includes nothing from the windows or the shell" "$(includes_from cli ui design_window plan_window shell)"
check "shell includes nothing from the companion" "$(includes_from shell cli)"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
