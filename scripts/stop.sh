#!/bin/bash
# Stops the running service (scripts/run.sh) from any shell, as Ctrl-C in its
# shell would: the run closes the service's window, waits for its clean
# shut-down and ends everything it started. When the run's script was killed
# outright, this ends what it left running, from the pids in build/run/state.
#
#   scripts/stop.sh
#
# Exit code: 0 stopped (or a killed run cleaned up), 1 the run did not end
# within 60 s, 2 bad arguments, 3 no run is alive.
set -uo pipefail
# shellcheck source=lib/runenv.sh
source "$(dirname "$0")/lib/runenv.sh"

case "${1:-}" in
    -h | --help) runenv_usage "$0" 2 10; exit $EXIT_OK ;;
    "") ;;
    *) echo "stop.sh: unknown argument '$1'; usage: scripts/stop.sh [--help]" >&2; exit $EXIT_USAGE ;;
esac
runenv_clean_up_dead_run stop.sh && { echo "Stopped."; exit $EXIT_OK; }
pid="$(state_get RUN_PID)" || pid=""
if [ -z "$pid" ] || ! pid_is "$pid" run.sh; then
    echo "stop.sh: no run is alive." >&2
    exit $EXIT_NOT_RUNNING
fi
kill -TERM "$pid"
for _ in $(seq 1 600); do
    pid_is "$pid" run.sh || { echo "Stopped."; exit $EXIT_OK; }
    sleep 0.1
done
echo "stop.sh: the run (pid $pid) did not end within 60 s." >&2
exit $EXIT_FAILED
