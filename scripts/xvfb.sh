# Sourced by the scripts that need a virtual X server of their own.
# start_xvfb FIRST SIZE [ARGS...]: starts Xvfb on the first free display from FIRST on, with one screen
# of SIZE (e.g. 1920x1080x24), and waits until it takes connections; sets display (its number) and
# xvfb_pid. The caller stops it.
start_xvfb() {
    display="$1"
    local size="$2"
    shift 2
    while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
        display=$((display + 1))
    done
    Xvfb ":$display" -screen 0 "$size" -nolisten tcp "$@" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X${display}" ] && break
        sleep 0.1
    done
}
