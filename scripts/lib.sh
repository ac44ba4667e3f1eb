# shellcheck shell=bash
# The steps the scripts share. Source it first thing:
#   . "$(dirname "$0")/lib.sh"
# It sets wg_root (the repository) and the functions below; nothing else.

wg_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wg_script="scripts/$(basename "$0")"

# wg_install_missing PACKAGE...: installs those of Debian's packages that
# are not installed, through sudo when not root; does nothing when all are.
wg_install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "$wg_script: installing ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# wg_step NAME COMMAND...: runs the command and says how long it took
# ("=== scripts/test: build done in 37 s") or that it failed; returns its
# status. The command runs in a child shell, started apart and waited for,
# so that set -e still holds inside it (bash drops it in anything tested by
# || or if); what it sets does not come back.
wg_step() {
  local name=$1 start=$SECONDS status=0
  shift
  "$@" &
  wait $! || status=$?
  if [ $status -eq 0 ]; then
    echo "=== $wg_script: $name done in $((SECONDS - start)) s"
  else
    echo "=== $wg_script: $name FAILED after $((SECONDS - start)) s (status $status)" >&2
  fi
  return $status
}

# wg_build TARGET...: the project's packages (scripts/setup), then build/
# configured and the targets built in it.
wg_build() {
  "$wg_root/scripts/setup"
  cmake -S "$wg_root" -B "$wg_root/build" >/dev/null
  cmake --build "$wg_root/build" -j2 --target "$@"
}

# wg_start_xvfb WIDTHxHEIGHT: an X server of its own on a free display
# number; exports DISPLAY and sets wg_xvfb_pid. Fails when the server ends
# or reports no display within 15 s. wg_stop_xvfb stops it again.
wg_xvfb_pid=''
wg_start_xvfb() {
  local number
  number=$(mktemp)
  # Xvfb picks a free display number and writes it to descriptor 3 when ready.
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$number" >/dev/null 2>&1 &
  wg_xvfb_pid=$!
  local _
  for _ in $(seq 150); do
    [ -s "$number" ] && break
    kill -0 "$wg_xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$number" ]; then
    echo "$wg_script: Xvfb reported no display within 15 s" >&2
    rm -f "$number"
    wg_stop_xvfb
    return 1
  fi
  export DISPLAY=":$(head -n 1 "$number")"
  rm -f "$number"
}

wg_stop_xvfb() {
  [ -n "$wg_xvfb_pid" ] || return 0
  kill "$wg_xvfb_pid" 2>/dev/null || true
  wait "$wg_xvfb_pid" 2>/dev/null || true
  wg_xvfb_pid=''
}
