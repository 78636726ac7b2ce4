#!/usr/bin/env bash
# simserver as a program: the tagged and the --pretty output of the demo script, and the server
# root it makes itself (no --root), which must be gone when it ends: at the end of a script, and
# on SIGTERM and SIGINT while it reads standard input. A root given with --root is kept.
#
# Usage: simserver_cli_test.sh SIMSERVER PLUGIN DEMO_SCRIPT
# Prints one line per check and a last line "N passed, M failed"; exit code 0 when all passed.
set -uo pipefail
if [[ $# -ne 3 ]]; then
  echo "usage: simserver_cli_test.sh SIMSERVER PLUGIN DEMO_SCRIPT" >&2
  exit 2
fi
simserver=$1
plugin=$2
demo=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# simserver makes its own roots under TMPDIR: a folder of this test's own, to see what is left.
export TMPDIR=$scratch/tmp
mkdir -p "$TMPDIR"

passed=0
failed=0
check() {  # check NAME COMMAND...: passes when COMMAND succeeds
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok   $name"
  else
    failed=$((failed + 1))
    echo "FAIL $name"
  fi
}
no_roots_left() { [[ -z $(ls -A "$TMPDIR") ]]; }
one_root_made() { [[ $(ls "$TMPDIR" | grep -c '^simserver-') == 1 ]]; }

commands=$(grep -cvE '^[[:space:]]*(#|$)' "$demo")
expects=$(grep -cE '^[[:space:]]*expect ' "$demo")

# The tagged form: one closing line (ok ... or error ...) per command, and none of them an error.
"$simserver" --plugin "$plugin" "$demo" >"$scratch/tagged"
status=$?
check "the demo exits 0" test "$status" -eq 0
check "one closing line per command ($commands)" \
  test "$(grep -cE '^(ok|ok .*|error .*)$' "$scratch/tagged")" -eq "$commands"
check "the tagged demo leaves no server root" no_roots_left

# The form for people.
"$simserver" --pretty --plugin "$plugin" "$demo" >"$scratch/pretty"
status=$?
check "the pretty demo exits 0" test "$status" -eq 0
check "every command is echoed" test "$(grep -c '^> ' "$scratch/pretty")" -eq "$commands"
check "no bare ok line" bash -c "! grep -qE '^ *ok$' '$scratch/pretty'"
check "state as tables" grep -q '^  creatures:$' "$scratch/pretty"
check "the last line counts the expectations" \
  test "$(tail -n 1 "$scratch/pretty")" = "expectations: $expects held, 0 failed"
check "the pretty demo leaves no server root" no_roots_left

# A failed expect is counted, and the exit status says so.
printf 'expect clock 0\nexpect clock 1\n' >"$scratch/failing.script"
"$simserver" --pretty --plugin "$plugin" "$scratch/failing.script" >"$scratch/failing"
status=$?
check "a failed expect exits 1" test "$status" -eq 1
check "a failed expect is counted" \
  test "$(tail -n 1 "$scratch/failing")" = "expectations: 1 held, 1 failed"

# Stopped by a signal while standard input is still open.
for signal in TERM INT; do
  rm -f "$scratch/input" "$scratch/out"
  mkfifo "$scratch/input"
  "$simserver" --plugin "$plugin" <"$scratch/input" >"$scratch/out" &
  pid=$!
  exec 3>"$scratch/input"
  echo "player Ada" >&3
  for _ in $(seq 100); do
    grep -q '^ok player 1$' "$scratch/out" && break
    sleep 0.1
  done
  check "SIG$signal: the server ran a command" one_root_made
  kill "-$signal" "$pid"
  wait "$pid"
  status=$?
  exec 3>&-
  check "SIG$signal: the server ends with status 0" test "$status" -eq 0
  check "SIG$signal: the server root is gone" no_roots_left
done

# A root given with --root belongs to the caller.
"$simserver" --root "$scratch/kept" --plugin "$plugin" "$scratch/failing.script" >/dev/null
check "a --root folder is kept" test -d "$scratch/kept/ShooterGame/Binaries/Win64"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
