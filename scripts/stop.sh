#!/bin/bash
# Stops the running service (scripts/run.sh) from any shell, as Ctrl-C in its
# shell would: the run closes the service's window, waits for its clean
# shut-down and ends everything it started.
#
# Exit code: 0 stopped, 1 the run did not end within 60 s, 3 no run is alive.
set -uo pipefail
# shellcheck source=lib/runenv.sh
source "$(dirname "$0")/lib/runenv.sh"

[ $# -eq 0 ] || { echo "usage: scripts/stop.sh" >&2; exit $EXIT_USAGE; }
pid="$(state_get RUN_PID)" || pid=""
if [ -z "$pid" ] || ! pid_is "$pid" run.sh; then
    echo "No run is alive." >&2
    exit $EXIT_NOT_RUNNING
fi
kill -TERM "$pid"
for _ in $(seq 1 600); do
    pid_is "$pid" run.sh || { echo "Stopped."; exit $EXIT_OK; }
    sleep 0.1
done
echo "The run (pid $pid) did not end within 60 s." >&2
exit $EXIT_FAILED
