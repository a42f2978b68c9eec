#!/usr/bin/env bash
# Run by scripts/bench inside tests/harness/with-server (PICORA_TEST_SERVER set), with the Wine
# environment ready:  update_bench.sh ADDRESSES-FILE UPDATE-LOAD-EXE PICORA-EXE
# Prints "curl_ms=N" for curl fetching every page address one after another, then the update's
# figures from update_load.
set -euo pipefail
addresses=$1 update_load=$2 picora=$3
here=$(cd "$(dirname "$0")" && pwd)
urls=()
while read -r target; do urls+=("$PICORA_TEST_SERVER$target"); done <"$addresses"
start=$(date +%s%N)
curl -s "${urls[@]}" >/dev/null
echo "curl_ms=$(( ($(date +%s%N) - start) / 1000000 )) pages=${#urls[@]}"
"$here/../tests/harness/with-display" "$WINELOADER" "$update_load" --picora="Z:$picora"
