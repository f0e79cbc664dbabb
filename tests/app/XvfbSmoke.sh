#!/usr/bin/env bash
# The real executable on an X server of its own, against lumetra-sample-sites on the default
# ports the build points at.
#   XvfbSmoke.sh escape     <lumetra> <lumetra-sample-sites>  shows its window, Esc ends it with 0
#   XvfbSmoke.sh held-close <lumetra> <lumetra-sample-sites>  closing while a China listing is
#                                                               held back ends it at once with 0
set -euo pipefail
scenario=$1 lumetra=$2 sites=$3

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "XvfbSmoke $scenario: $*" >&2; exit 1; }

# Waits for process $1 to end, at most $2 seconds; its exit code goes to $exit_code.
wait_exit() {
    timeout "$2" tail --pid="$1" -f /dev/null || fail "process $1 still running after $2 s"
    set +e; wait "$1"; exit_code=$?; set -e
}

# X server on a free display: Xvfb writes the number it took to the fifo.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
read -r -t 30 display <"$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$display"

site_args=()
[[ $scenario == held-close ]] && site_args+=(--hold-listings)
mkfifo "$work/sites"
"$sites" "${site_args[@]}" >"$work/sites" &
pids+=($!)
exec 4<"$work/sites"
read -r -t 30 ready <&4 || fail "sample sites not ready"
[[ $ready == "ready site-a=http://127.0.0.1:18080 site-b=https://127.0.0.1:18443" ]] ||
    fail "unexpected sample sites: $ready"

QT_QPA_PLATFORM=xcb "$lumetra" &
app=$!
pids+=("$app")
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Lumetra$' | head -n1) ||
    fail "no Lumetra window"
xdotool windowfocus --sync "$window"

if [[ $scenario == held-close ]]; then
    # No window manager: window coordinates are client coordinates. The tab "国区" sits right
    # of "随机区" at the top of 选择夹1 (8, 16); 按钮3 is at (232, 184) in it, 72 x 32.
    xdotool mousemove --window "$window" 92 28 click 1
    xdotool mousemove --window "$window" 276 216 click 1
    # The listing worker's request is out and held once the connection stands.
    deadline=$((SECONDS + 30))
    until ss -Htn state established '( dport = :18443 )' | grep -q .; do
        ((SECONDS < deadline)) || fail "the China listing was never requested"
        sleep 0.1
    done
fi

xdotool key --clearmodifiers Escape
wait_exit "$app" 15
[[ $exit_code -eq 0 ]] || fail "exit code $exit_code"
echo "XvfbSmoke $scenario: window shown, closed, exit code 0"
