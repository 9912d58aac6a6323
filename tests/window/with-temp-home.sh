#!/bin/bash
# Runs a window test offscreen with its own home, runtime, data and config folders,
# so no test touches the real trash, settings or lock.
set -u
root=$(mktemp -d "${TMPDIR:-/tmp}/pyx-test.XXXXXX")
mkdir -p "$root/home" "$root/runtime" "$root/data" "$root/config"
chmod 700 "$root/runtime"
export HOME="$root/home" XDG_RUNTIME_DIR="$root/runtime" XDG_DATA_HOME="$root/data" \
       XDG_CONFIG_HOME="$root/config" QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" \
       TZ="${TZ:-Asia/Tokyo}"
cd "$root"
"$@"
status=$?
rm -rf "$root"
exit $status
