#!/bin/sh
# Runs a test in the network namespace it was started in, with a Wine server
# of its own: OwnWineServer.sh <wineserver> <command...>
# Wine makes every socket in the prefix's server. A server already running
# outside would give the test's programs a network; one it starts inside
# would outlive it and take the loopback from the tests after it. So the
# prefix's server ends before and after: the test runs alone (RUN_SERIAL),
# and nobody else's processes end with it.
set -u
server=$1
shift
stop_server() {
    WINEDEBUG=-all "$server" -k 2>/dev/null
    WINEDEBUG=-all "$server" -w 2>/dev/null
}
stop_server
"$@"
result=$?
stop_server
exit $result
