#!/usr/bin/env bash
# Installs what is missing, builds mervox and runs every test.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh" --tests
cd "$MERVOX_BUILD"
ctest --output-on-failure -j"$(nproc)" "$@"
