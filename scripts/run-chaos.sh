#!/bin/bash
# A long chaos run of windows, owners and hosts around switches (default 20000 actions):
#   scripts/run-chaos.sh [actions] [seed]
exec "$(dirname "$0")/run-random.sh" chaos_run.exe "${1:-20000}" ${2:+"$2"}
