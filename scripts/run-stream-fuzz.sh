#!/bin/bash
# A long series of damaged state streams through the pager (default 100000):
#   scripts/run-stream-fuzz.sh [count] [seed]
exec "$(dirname "$0")/run-random.sh" stream_fuzz.exe "${1:-100000}" ${2:+"$2"}
