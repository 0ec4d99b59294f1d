#!/usr/bin/env bash
# Sets up, builds and starts the demo: the whole program on its built-in
# instrument simulator. Without a display it runs the demo under a virtual X
# server instead and saves a screenshot of each tab of the main window.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$root/build"

"$root/scripts/install-deps.sh" --demo
cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" --target orvix-pc-demo

demo="$build_dir/bin/orvix-pc-demo"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$demo"
fi

shots="$build_dir/demo-screenshots"
mkdir -p "$shots"
echo "No display here: running the demo under a virtual X server."
xvfb-run -a -s "-screen 0 1280x1024x24" "$demo" --screenshot "$shots/tab%1.png"
echo "Screenshots of the main window, one per tab: $shots/tab0.png ... tab3.png"
