#!/usr/bin/env bash
# Runs real_client_test.mjs with one third-party npm RCON client against an RCON server.
#
# Usage: run.sh BUILD_DIR CLIENT EXPECT_JSON PASSWORD SERVER_CMD [SERVER_ARG...]
#   BUILD_DIR    folder for the test's npm dependencies: they are installed from the committed
#                package-lock.json into BUILD_DIR/rcon_client with `npm ci` (skipped when the
#                same lock file is already installed there).
#   CLIENT       rcon-client, rcon-srcds or rcon (see clients.mjs).
#   EXPECT_JSON  {"commands": [{"command": "...", "reply": "...\n"}, ...]}: commands and their
#                exact replies (see real_client_test.mjs).
#   PASSWORD     the server's RCON password; pass it to the server in SERVER_ARGs as well.
#   SERVER_CMD   the server, started by this script. It must listen on 127.0.0.1 and print a line
#                containing "listening <port>" (or simserver's "ok rcon <port>") on stdout once it
#                accepts connections (within RCON_TEST_START_SECONDS, default 30). It is stopped
#                at the end with SIGTERM, then SIGKILL if it is still running 5 s later.
# Installing: from the npm cache first (no network); when that is not enough, the registry is
# probed with `npm ping` (a few seconds at most) and, when it cannot be reached, the test is
# skipped with one line saying so (exit code 77) instead of failing after a long wait.
# Environment:
#   RCON_TEST_NPM_OFFLINE=1   install from the npm cache only; a cache miss fails the setup.
#   RCON_TEST_TIMEOUT_MS      per-request timeout given to the client (default 5000).
# Exit code: the client test's (0 all passed, 1 a check failed), 77 when skipped, or 2 when
# setting up failed.
# Example:
#   run.sh build rcon-srcds tests/rcon_client/echo_expected.json s3cret \
#     build/tests/rcon/rcon_echo_server 0 s3cret
set -euo pipefail

if [[ $# -lt 5 ]]; then
  sed -n '2,/^set -euo/p' "$0" | sed '$d' >&2
  exit 2
fi
build_dir=$1
client=$2
expect_json=$3
password=$4
shift 4

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$build_dir"
deps_dir=$(cd "$build_dir" && pwd)/rcon_client
expect_json=$(cd "$(dirname "$expect_json")" && pwd)/$(basename "$expect_json")

fail_setup() {
  echo "run.sh: $*" >&2
  exit 2
}

skip() {
  echo "SKIP: $* (rcon client test '$client' not run)"
  exit 77
}

# Dependencies, from the lock file only.
mkdir -p "$deps_dir"
if ! cmp -s "$here/package-lock.json" "$deps_dir/installed-package-lock.json" ||
  [[ ! -d "$deps_dir/node_modules" ]]; then
  cp "$here/package.json" "$here/package-lock.json" "$deps_dir/"
  npm_flags=(--prefix "$deps_dir" --no-audit --no-fund --loglevel=error)
  if npm ci "${npm_flags[@]}" --offline >/dev/null 2>&1; then
    :  # everything was in the npm cache
  elif [[ ${RCON_TEST_NPM_OFFLINE:-0} == 1 ]]; then
    fail_setup "npm ci --offline failed in $deps_dir (RCON_TEST_NPM_OFFLINE=1)"
  else
    timeout 10 npm ping --fetch-timeout=5000 --fetch-retries=0 >/dev/null 2>&1 ||
      skip "the npm registry cannot be reached (npm ping failed)"
    npm ci "${npm_flags[@]}" --prefer-offline --fetch-retries=1 --fetch-timeout=30000 >&2 ||
      fail_setup "npm ci failed in $deps_dir"
  fi
  cp "$here/package-lock.json" "$deps_dir/installed-package-lock.json"
fi
# The scripts run from beside node_modules so that their imports resolve there.
cp "$here/real_client_test.mjs" "$here/clients.mjs" "$deps_dir/"

# The server, in its own process group so that everything it started can be stopped with it.
server_out=$(mktemp)
server_pid=
stop_server() {
  if [[ -n $server_pid ]] && kill -0 "$server_pid" 2>/dev/null; then
    kill -TERM -- "-$server_pid" 2>/dev/null || kill -TERM "$server_pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$server_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL -- "-$server_pid" 2>/dev/null || kill -KILL "$server_pid" 2>/dev/null || true
  fi
  wait "$server_pid" 2>/dev/null || true
  rm -f "$server_out"
}
trap stop_server EXIT

set -m  # job control: the server gets a process group of its own
"$@" >"$server_out" &
server_pid=$!
set +m

port=
deadline=$((SECONDS + ${RCON_TEST_START_SECONDS:-30}))
while [[ -z $port ]]; do
  port=$(grep -oE '(listening|ok rcon) [0-9]+' "$server_out" | head -n1 | awk '{print $NF}' || true)
  [[ -n $port ]] && break
  kill -0 "$server_pid" 2>/dev/null || fail_setup "server exited before listening: $(cat "$server_out")"
  ((SECONDS < deadline)) || fail_setup "server printed no 'listening <port>' line in time"
  sleep 0.1
done
echo "run.sh: server pid $server_pid listening on 127.0.0.1:$port" >&2

set +e
node "$deps_dir/real_client_test.mjs" --client "$client" --host 127.0.0.1 --port "$port" \
  --password "$password" --expect "$expect_json" --timeout-ms "${RCON_TEST_TIMEOUT_MS:-5000}"
status=$?
set -e
exit "$status"
