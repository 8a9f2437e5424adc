# Sourced by the scripts that need a display: start_xvfb <folder> starts a
# virtual display on the first free number, exports DISPLAY and leaves its
# process id in xvfb_pid; stop_xvfb ends it.
xvfb_pid=""
start_xvfb() {
    local folder=$1
    mkdir -p "$folder"
    rm -f "$folder/xvfb.display"
    Xvfb -displayfd 3 -screen 0 1920x1080x24 -dpi 96 -nolisten tcp \
        3>"$folder/xvfb.display" >"$folder/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
        [ -s "$folder/xvfb.display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$folder/xvfb.display" ]; then
        echo "the virtual display did not start; see $folder/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(head -n 1 "$folder/xvfb.display")"
}
stop_xvfb() {
    [ -n "$xvfb_pid" ] || return 0
    kill -TERM "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
}
