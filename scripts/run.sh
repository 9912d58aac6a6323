#!/bin/bash
# Sets up, builds and starts Pyxidane. With a folder: checks it at start (/s FOLDER).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "No display here: the window cannot open." >&2
    if [[ -x build/src/cli/pyxidane-check ]]; then
        echo "Checking with the headless checker instead: build/src/cli/pyxidane-check $*" >&2
        exec build/src/cli/pyxidane-check "$@"
    fi
    exit 2
fi
if (($#)); then
    exec build/src/app/pyxidane /s "$1"
fi
exec build/src/app/pyxidane
