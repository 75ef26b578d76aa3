#!/usr/bin/env bash
# Runs a command inside a headless Wayland session of its own: a private mount and network
# namespace (so its sockets and display numbers meet nothing else on the machine), a compositor
# on a 1024x768 virtual output drawn in software, and the command run as the compositor's user
# with WAYLAND_DISPLAY and XDG_RUNTIME_DIR pointing at it (and SWAYSOCK for sway, a session bus
# for mutter). The command's status is the script's. Sway refuses to run as root, and a
# compositor's clients must be of its own user, so both run as `nobody`.
#
#   wayland-session.sh [--sway | --mutter] COMMAND [ARG...]     (sway unless told)
set -euo pipefail

# The namespace and the change of user need root; without it the session cannot be made, which
# the tests report as skipped (77).
if [ "$(id -u)" -ne 0 ]; then
  echo "wayland-session.sh: needs root for its namespace and its user" >&2
  exit 77
fi
if [ -z "${WAYLAND_SESSION_INSIDE:-}" ]; then
  exec env WAYLAND_SESSION_INSIDE=1 unshare -m -n --fork -- "$0" "$@"
fi

compositor=sway
case "${1:-}" in
  --sway | --mutter)
    compositor=${1#--}
    shift
    ;;
esac

mount -t tmpfs tmpfs /tmp
ip link set lo up 2>/dev/null || true
user=nobody
group=nogroup
runtime=/tmp/runtime
mkdir -m 700 "$runtime"
home=/tmp/home
mkdir -p "$home"
chown "$user:$group" "$runtime" "$home"
cat > "$home/sway.conf" <<CONF
output HEADLESS-1 resolution 1024x768 position 0 0 bg #204060 solid_color
default_border none
focus_follows_mouse no
CONF

# The caller's settings for the tests and the sanitizers go through; nothing else of its
# environment does.
passed=()
while IFS= read -r name; do
  passed+=("$name=${!name}")
done < <(compgen -e | grep -E '^(VOSTREL_[A-Z_]+|ASAN_OPTIONS|LSAN_OPTIONS|UBSAN_OPTIONS)$' || true)

as_user() {
  setpriv --reuid="$user" --regid="$group" --clear-groups -- \
    env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" \
    LANG=C.UTF-8 "${passed[@]}" "$@"
}

if [ "$compositor" = mutter ]; then
  bus="unix:path=$runtime/bus"
  as_user dbus-daemon --session --address="$bus" --fork >/dev/null
  as_user DBUS_SESSION_BUS_ADDRESS="$bus" mutter --headless --wayland --no-x11 \
    --virtual-monitor 1024x768 --wayland-display wayland-1 --sm-disable >"$home/mutter.log" 2>&1 &
  session=(DBUS_SESSION_BUS_ADDRESS="$bus")
else
  as_user WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$home/sway.conf" >"$home/sway.log" 2>&1 &
fi
compositor_pid=$!
trap 'kill "$compositor_pid" 2>/dev/null || true; wait "$compositor_pid" 2>/dev/null || true' EXIT

for _ in $(seq 100); do
  if [ "$compositor" = sway ]; then
    ipc=$(ls "$runtime"/sway-ipc.* 2>/dev/null | head -n1 || true)
    [ -n "$ipc" ] && [ -S "$runtime/wayland-1" ] && break
  else
    [ -S "$runtime/wayland-1" ] && break
  fi
  sleep 0.1
done
if [ ! -S "$runtime/wayland-1" ]; then
  echo "$compositor did not start:" >&2
  cat "$home/$compositor.log" >&2
  exit 1
fi
[ "$compositor" = sway ] && session=(SWAYSOCK="$ipc")

status=0
as_user WAYLAND_DISPLAY=wayland-1 "${session[@]}" "$@" || status=$?
exit "$status"
