#!/usr/bin/env bash
# Runs a command inside a headless Wayland session of its own: private mount, network and
# process namespaces (so its sockets and display numbers meet nothing else on the machine, and
# whatever the session started, a compositor left running included, ends with it), a compositor
# on a 1024x768 virtual output drawn in software, and the command run as the compositor's user
# with WAYLAND_DISPLAY and XDG_RUNTIME_DIR pointing at it (and SWAYSOCK for sway, a session bus
# for mutter and KWin). The command's status is the script's. Sway refuses to run as root, and a
# compositor's clients must be of its own user, so both run as `nobody`.
#
# A sway session runs the user's XDG autostart entries at its start through dex, as a wlroots
# desktop is set up to do; the command may end sway (`swaymsg exit`, a log-out) and start it
# again with `$HOME/log-in` (a log-in). `--install PACKAGE.deb` installs a Debian package into
# the session's system first (dpkg -i into overlays of /usr, /etc and /var that end with the
# session, so that the machine's own system is left as it was).
#
#   wayland-session.sh [--sway | --mutter | --kwin] [--install PACKAGE.deb] COMMAND [ARG...]
#   (sway unless told)
set -euo pipefail

# The namespace and the change of user need root; without it the session cannot be made, which
# the tests report as skipped (77).
if [ "$(id -u)" -ne 0 ]; then
  echo "wayland-session.sh: needs root for its namespace and its user" >&2
  exit 77
fi
if [ -z "${WAYLAND_SESSION_INSIDE:-}" ]; then
  exec env WAYLAND_SESSION_INSIDE=1 unshare -m -n -p --fork --mount-proc --kill-child -- "$0" "$@"
fi

compositor=sway
case "${1:-}" in
  --sway | --mutter | --kwin)
    compositor=${1#--}
    shift
    ;;
esac
install=
if [ "${1:-}" = --install ]; then
  exec 3<"$2"  # the package may lie in the /tmp that the private one hides
  install=/dev/fd/3
  shift 2
fi

mount -t tmpfs tmpfs /tmp
if [ -n "$install" ]; then
  for folder in usr etc var; do
    mkdir -p "/tmp/system/$folder/upper" "/tmp/system/$folder/work"
    layers="lowerdir=/$folder,upperdir=/tmp/system/$folder/upper,workdir=/tmp/system/$folder/work"
    if ! mount -t overlay overlay -o "$layers" "/$folder"; then
      echo "no overlay of /$folder can be mounted here, so the package cannot be installed" >&2
      exit 77
    fi
  done
  if ! dpkg -i "$install" >/tmp/dpkg.log 2>&1; then
    echo "the package did not install:" >&2
    cat /tmp/dpkg.log >&2
    exit 1
  fi
  exec 3<&-
fi
ip link set lo up 2>/dev/null || true
user=nobody
group=nogroup
runtime=/tmp/runtime
mkdir -m 700 "$runtime"
home=/tmp/home
mkdir -p "$home"
chown "$user:$group" "$runtime" "$home"
# The machine's own autostart entries (a sound server, the accessibility bus) are left out:
# the session runs the user's alone.
cat > "$home/sway.conf" <<CONF
output HEADLESS-1 resolution 1024x768 position 0 0 bg #204060 solid_color
default_border none
focus_follows_mouse no
exec env XDG_CONFIG_DIRS=/nonexistent dex --autostart --environment sway
CONF
cat > "$home/log-in" <<'LOGIN'
#!/bin/sh
unset WAYLAND_DISPLAY SWAYSOCK
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
exec sway -c "$HOME/sway.conf" >>"$HOME/sway.log" 2>&1
LOGIN
chmod 755 "$home/log-in"

# The caller's settings for the tests and the sanitizers go through; nothing else of its
# environment does.
passed=()
while IFS= read -r name; do
  passed+=("$name=${!name}")
done < <(compgen -e | grep -E '^(VOSTREL_[A-Z_]+|ASAN_OPTIONS|LSAN_OPTIONS|UBSAN_OPTIONS)$' || true)

# The command prefix that runs a program as the session's user; started in the background
# without a shell function between, the program is the job itself, so ending the job ends it.
user_prefix=(setpriv --reuid="$user" --regid="$group" --clear-groups --
  env -i PATH=/usr/local/bin:/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime"
  LANG=C.UTF-8 "${passed[@]}")
as_user() {
  "${user_prefix[@]}" "$@"
}

session=()
if [ "$compositor" != sway ]; then
  bus="unix:path=$runtime/bus"
  as_user dbus-daemon --session --address="$bus" --fork >/dev/null
  session=(DBUS_SESSION_BUS_ADDRESS="$bus")
fi
if [ "$compositor" = mutter ]; then
  "${user_prefix[@]}" "${session[@]}" mutter --headless --wayland --no-x11 \
    --virtual-monitor 1024x768 --wayland-display wayland-1 --sm-disable >"$home/mutter.log" 2>&1 &
elif [ "$compositor" = kwin ]; then
  # Installed, KWin carries a file capability (cap_sys_resource) that a container cannot grant,
  # so executing it fails; a copy (cp drops the capability) runs. Its screen locker would lock
  # the idle session after a few minutes and then take all input: it is kept off.
  if ! command -v kwin_wayland >/dev/null; then
    echo "kwin_wayland is not installed (scripts/install-deps.sh --tests installs it)" >&2
    exit 77
  fi
  cp "$(command -v kwin_wayland)" /tmp/kwin_wayland
  mkdir -p "$home/.config"
  printf '[Daemon]\nAutolock=false\nLockOnResume=false\n' >"$home/.config/kscreenlockerrc"
  chown -R "$user:$group" "$home/.config"
  "${user_prefix[@]}" "${session[@]}" KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
    /tmp/kwin_wayland --virtual --width 1024 --height 768 --socket wayland-1 \
    >"$home/kwin.log" 2>&1 &
else
  "${user_prefix[@]}" "$home/log-in" &
fi
compositor_pid=$!
trap 'kill "$compositor_pid" 2>/dev/null || true; wait "$compositor_pid" 2>/dev/null || true' EXIT

for _ in $(seq 100); do
  if [ "$compositor" = sway ]; then
    ipc=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*' -print -quit 2>/dev/null || true)
    [ -n "$ipc" ] && [ -S "$runtime/wayland-1" ] && break
  else
    [ -S "$runtime/wayland-1" ] && break
  fi
  sleep 0.1
done
if [ ! -S "$runtime/wayland-1" ]; then
  echo "$compositor did not start:" >&2
  cat "$home/$compositor.log" >&2
  # KWin needs more of the machine than the others (a copy of its binary, OpenGL in software):
  # where it cannot start, its tests say so and are skipped rather than failed.
  [ "$compositor" = kwin ] && exit 77
  exit 1
fi
[ "$compositor" = sway ] && session=(SWAYSOCK="$ipc")

status=0
as_user WAYLAND_DISPLAY=wayland-1 "${session[@]}" "$@" || status=$?
exit "$status"
