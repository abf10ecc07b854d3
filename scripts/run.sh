#!/usr/bin/env bash
# Installs what is missing, builds, and opens the viewer (optional picture path passed through).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" release
exec "$here/build/app/mirelune" "$@"
