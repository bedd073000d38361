#!/usr/bin/env bash
# The main job from start to end: two versions of a shop database are made from demo/v1.sql
# and demo/v2.sql, kelvor writes the script that turns the first into the second, kelrun runs
# it against the first, and kelvor finds the two identical.
#
# Usage: demo/run.sh [bin folder]     (default: build/bin)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../build/bin}" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/kel-demo-XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

step() { printf '\n== %s\n' "$*"; }

fail() {
  echo "demo: $*" >&2
  exit 1
}

# kelrun ends with 1 when every command succeeded, with 0 otherwise.
kelrun() {
  local status=0
  "$bin/kelrun" "$@" || status=$?
  [ "$status" -eq 1 ] || fail "kelrun $* did not succeed"
}

step "Two databases from two scripts: kelrun v1.sql shop-v1.mdb /c and kelrun v2.sql shop-v2.mdb /c"
kelrun "$here/v1.sql" shop-v1.mdb /c /e
kelrun "$here/v2.sql" shop-v2.mdb /c /e
ls -l shop-v1.mdb shop-v2.mdb

step "Compare them and write the synchronisation script: kelvor shop-v1.mdb shop-v2.mdb sync.sql /e"
"$bin/kelvor" shop-v1.mdb shop-v2.mdb sync.sql /e
echo
[ -s sync.sql ] || fail "kelvor wrote no script"

step "The script (sync.sql)"
cat sync.sql

step "Apply it to the first database: kelrun sync.sql shop-v1.mdb /e"
kelrun sync.sql shop-v1.mdb /e
echo "every command succeeded (exit code 1)"

step "Compare again: kelvor shop-v1.mdb shop-v2.mdb again.sql /e"
result=$("$bin/kelvor" shop-v1.mdb shop-v2.mdb again.sql /e)
echo "$result"
[ "$result" = "database schemas are identical" ] || fail "the databases still differ"
[ ! -e again.sql ] || fail "kelvor wrote a script for identical databases"
