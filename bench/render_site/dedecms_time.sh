#!/usr/bin/env bash
# DedeCMS's own time for the benchmark's page: the reference renderer (DedeCMS's PHP over its private
# MariaDB, ../shared/oracle) renders home_ten_tags.htm over the same 10,000 articles, RUNS times, and
# prints the wall and CPU time per page (PHP's process; the database server's CPU is not counted,
# as bench_render_site does not count it for MariaDB either). Needs DEDE_MIRROR, as the oracle does.
#   bench/render_site/dedecms_time.sh [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
oracle=${DEDE_ORACLE:-$here/../../../shared/oracle}
runs=${1:-20}
export DEDE_WORK=${DEDE_WORK:-${TMPDIR:-/tmp}/dede-bench-oracle}
"$oracle/setup.sh" >/dev/null
mariadb --socket="$DEDE_WORK/db/sock" -u root dede < "$here/../../tests/dede/fixtures/sample_site_extra.sql"
mariadb --socket="$DEDE_WORK/db/sock" -u root dede < "$here/articles_10k.sql"
"$oracle/render.sh" "$here/home_ten_tags.htm" > "$DEDE_WORK/page.html"
echo "page: $(wc -c < "$DEDE_WORK/page.html") bytes ($DEDE_WORK/page.html)"
TIMEFORMAT="%R %U %S"
times=$( { time for ((i = 0; i < runs; i++)); do "$oracle/render.sh" "$here/home_ten_tags.htm" > /dev/null; done; } 2>&1 )
read -r wall user sys <<<"$times"
awk -v w="$wall" -v u="$user" -v s="$sys" -v n="$runs" \
  'BEGIN { printf "DedeCMS (PHP): %.1f ms wall, %.1f ms CPU per page over %d pages\n", 1000 * w / n, 1000 * (u + s) / n, n }'
"$oracle/stop.sh" >/dev/null
