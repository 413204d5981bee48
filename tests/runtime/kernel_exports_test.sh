#!/usr/bin/env bash
# The kernel library defines exactly one dynamic symbol, the entry the launcher looks up: whatever the
# compiler emits for the code behind it (type information, template instances) stays local.
# Usage: kernel_exports_test.sh NM KERNEL
set -euo pipefail
nm=$1 kernel=$2
exports=$("$nm" -D --defined-only "$kernel" | awk '{print $NF}')
if [[ "$exports" != GetNewSock ]]; then
  echo "FAIL $kernel exports:"
  echo "$exports"
  exit 1
fi
