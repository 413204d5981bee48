#!/usr/bin/env bash
# Fails when clang-format (.clang-format) would change a line that differs from the merge base with
# main: only the lines a change touches are held to the format, so older code keeps its layout (and
# its history) until someone edits it. `scripts/check-format.sh REF` compares with REF instead.
# Without a merge base in the clone's history (a shallow CI clone) there is nothing to compare: it
# says so and passes.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v git-clang-format >/dev/null || scripts/deps.sh format

base=""
for ref in "${1:-}" origin/main main; do
  [[ -n "$ref" ]] || continue
  if git rev-parse --verify -q "$ref^{commit}" >/dev/null && base=$(git merge-base HEAD "$ref" 2>/dev/null); then
    break
  fi
  base=""
done
if [[ -z "$base" ]]; then
  echo "check-format: no merge base with main in this clone's history; nothing to check"
  exit 0
fi

changes=$(git clang-format --diff --extensions c,cc,cpp,h,hpp "$base" --)
if grep -q '^@@' <<<"$changes"; then
  echo "check-format: clang-format would change lines touched since $(git rev-parse --short "$base"):"
  echo "$changes"
  echo "check-format: run 'git clang-format $base' to apply it"
  exit 1
fi
echo "check-format: the lines changed since $(git rev-parse --short "$base") are formatted"
