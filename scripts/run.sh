#!/bin/bash
# Sets up, builds and starts Pyxidane. With a folder: checks it at start (/s FOLDER).
set -euo pipefail
# A folder named relative to where the script was started.
folder=""
(($#)) && folder=$(realpath -m -- "$1")
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "No display here: the window cannot open." >&2
    if [[ -n $folder ]]; then
        echo "Checking with the headless checker instead: build/src/cli/pyxidane-check $folder" >&2
        exec build/src/cli/pyxidane-check "$folder"
    fi
    echo "Name a folder to check it with the headless checker: scripts/run.sh FOLDER" >&2
    exit 2
fi
if [[ -n $folder ]]; then
    exec build/src/app/pyxidane /s "$folder"
fi
exec build/src/app/pyxidane
