#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh" celwright
exec "$root/build/editor/celwright"
