#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Each program carries Debian's hardening: relocations bound at start and
# read-only and a stack protector; the checked buffer functions stand where
# a program has a call to check (not every one has).
#   hardening_test.sh ELF...
set -euo pipefail
checks=0
checked=
for elf in "$@"; do
  dynamic=$(readelf -d "$elf")
  grep -Eq 'BIND_NOW|FLAGS.*\bNOW\b' <<< "$dynamic" || { echo "FAIL: $elf is not linked with -z now" >&2; exit 1; }
  readelf -lW "$elf" | grep -q GNU_RELRO || { echo "FAIL: $elf has no RELRO segment" >&2; exit 1; }
  symbols=$(readelf -sW --dyn-syms "$elf")
  grep -q '__stack_chk_fail' <<< "$symbols" || { echo "FAIL: $elf has no stack protector" >&2; exit 1; }
  grep -Eq '__[a-z0-9_]+_chk@' <<< "$symbols" && checked=yes
  checks=$((checks + 1))
done
[ -n "${checked:-}" ] || { echo "FAIL: no program uses a checked buffer function" >&2; exit 1; }
echo "$checks passed, 0 failed"
