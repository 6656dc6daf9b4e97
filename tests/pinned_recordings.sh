#!/usr/bin/env bash
# The shipped recordings play exactly as pinned (result line and a hash of
# the whole trace); see scripts/pin_recordings.sh.
#
# usage: pinned_recordings.sh <mervox binary> <build dir>
set -euo pipefail
exec "$(dirname "$0")/../scripts/pin_recordings.sh" --check "$1"
