#!/usr/bin/env bash
# Runs a command inside a headless Wayland session of its own: private mount, network and
# process namespaces (so its sockets and display numbers meet nothing else on the machine, and
# whatever the session started, a compositor left running included, ends with it), a compositor
# on a 1024x768 virtual output drawn in software (mutter: two, side by side), and the command
# run as the compositor's user with WAYLAND_DISPLAY and XDG_RUNTIME_DIR pointing at it (and
# SWAYSOCK for sway, a session bus for mutter and KWin). The command's status is the script's. Sway refuses to run as root, and a
# compositor's clients must be of its own user, so both run as `nobody`.
#
# A sway session runs the user's XDG autostart entries at its start through dex, as a wlroots
# desktop is set up to do; the command may end sway (`swaymsg exit`, a log-out) and start it
# again with `$HOME/log-in` (a log-in). `--install PACKAGE.deb` installs a Debian package into
# the session's system first (dpkg -i into overlays of /usr, /etc and /var that end with the
# session, so that the machine's own system is left as it was).
#
# `--debian13` runs the compositor of the Debian 13 system that scripts/make-test-root.sh
# makes, inside that system (chroot), while the command and its programs run on this machine
# as its clients: the runtime and home folders are in /tmp, which is the same folder inside and
# outside. labwc, weston and cage are run from that system only. With `--install`, the package
# goes into that system (apt, from the archive) and the command runs inside it, with
# INSTALLED_PACKAGE naming the .deb there.
#
#   wayland-session.sh [--debian13] [--sway | --mutter | --kwin | --labwc | --weston | --cage]
#                      [--install PACKAGE.deb] COMMAND [ARG...]
#   (sway unless told)
set -euo pipefail

# The namespace and the change of user need root; without it the session cannot be made, which
# the tests report as skipped (77).
if [ "$(id -u)" -ne 0 ]; then
  echo "wayland-session.sh: needs root for its namespace and its user" >&2
  exit 77
fi
if [ -z "${WAYLAND_SESSION_INSIDE:-}" ]; then
  # Installing into the Debian 13 system fetches the package's dependencies from the archive,
  # so that session keeps the network.
  network=-n
  [ "${1:-}" = --debian13 ] && [[ " $* " == *" --install "* ]] && network=
  exec env WAYLAND_SESSION_INSIDE=1 unshare -m $network -p --fork --mount-proc --kill-child -- \
    "$0" "$@"
fi

root=
if [ "${1:-}" = --debian13 ]; then
  root=$(bash "$(dirname "$0")/make-test-root.sh" --print)
  shift
  if [ ! -f "$root/.ready" ]; then
    echo "the Debian 13 test system is not made (make test-deps makes it)" >&2
    exit 77
  fi
fi
compositor=sway
case "${1:-}" in
  --sway | --mutter | --kwin | --labwc | --weston | --cage)
    compositor=${1#--}
    shift
    ;;
esac
case "$compositor" in
  labwc | weston | cage)
    if [ -z "$root" ]; then
      echo "$compositor runs from the Debian 13 test system only (--debian13)" >&2
      exit 2
    fi
    ;;
esac
install=
if [ "${1:-}" = --install ]; then
  exec 3<"$2"  # the package may lie in the /tmp that the private one hides
  install=/dev/fd/3
  shift 2
fi

mount -t tmpfs tmpfs /tmp
if [ -n "$root" ] && [ -n "$install" ]; then
  # The Debian 13 system gets the package as a user's apt gives it, dependencies and all, in
  # an overlay that ends with the session; the command then runs inside that system, with the
  # tests' source and build folders at their own paths.
  mkdir -p /tmp/system/upper /tmp/system/work /tmp/system/root
  if ! mount -t overlay overlay \
    -o "lowerdir=$root,upperdir=/tmp/system/upper,workdir=/tmp/system/work" /tmp/system/root; then
    echo "no overlay of the Debian 13 system can be mounted here" >&2
    exit 77
  fi
  root=/tmp/system/root
  for folder in "${VOSTREL_SOURCE_DIR:-}" "${VOSTREL_BUILD_DIR:-}"; do
    [ -n "$folder" ] && mkdir -p "$root$folder" && mount --bind "$folder" "$root$folder"
  done
fi
if [ -n "$root" ]; then
  mount --rbind /dev "$root/dev"
  mount --rbind /sys "$root/sys"
  mount -t proc proc "$root/proc"
  mount --rbind /tmp "$root/tmp"
fi
if [ -n "$root" ] && [ -n "$install" ]; then
  cp "$install" /tmp/package.deb
  exec 3<&-
  chmod 644 /tmp/package.deb
  export DEBIAN_FRONTEND=noninteractive
  if ! { chroot "$root" apt-get update -qq &&
    chroot "$root" apt-get install -y -qq --no-install-recommends /tmp/package.deb; } \
    >/tmp/apt.log 2>&1; then
    echo "the package did not install:" >&2
    cat /tmp/apt.log >&2
    exit 1
  fi
elif [ -n "$install" ]; then
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
# the session runs the user's alone (dex is this machine's, so only its own sway runs them).
autostart=
[ -z "$root" ] && autostart='exec env XDG_CONFIG_DIRS=/nonexistent dex --autostart --environment sway'
cat > "$home/sway.conf" <<CONF
output HEADLESS-1 resolution 1024x768 position 0 0 bg #204060 solid_color
default_border none
focus_follows_mouse no
$autostart
CONF
cat > "$home/log-in" <<'LOGIN'
#!/bin/sh
unset WAYLAND_DISPLAY SWAYSOCK
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1
exec sway -c "$HOME/sway.conf" >>"$HOME/sway.log" 2>&1
LOGIN
chmod 755 "$home/log-in"
# labwc has no output settings of its own and draws no background: its autostart sets both as
# in the sway session.
mkdir -p "$home/.config/labwc"
cat > "$home/.config/labwc/autostart" <<'AUTOSTART'
wlr-randr --output HEADLESS-1 --custom-mode 1024x768 --pos 0,0
swaybg -c '#204060' >/dev/null 2>&1 &
AUTOSTART
chown -R "$user:$group" "$home/.config"

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
if [ "$compositor" = mutter ] || [ "$compositor" = kwin ]; then
  bus="unix:path=$runtime/bus"
  as_user dbus-daemon --session --address="$bus" --fork >/dev/null
  session=(DBUS_SESSION_BUS_ADDRESS="$bus")
fi
wlroots=(WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1)
case "$compositor" in
  mutter)
    # Two monitors side by side, as a laptop on a dock has: mutter can add none later, and
    # handing the keyboard between a program's windows on two monitors is GNOME's own habit.
    started=(mutter --headless --wayland --no-x11 --virtual-monitor 1024x768
      --virtual-monitor 1024x768 --wayland-display wayland-1 --sm-disable)
    ;;
  kwin)
    # Installed, KWin carries a file capability (cap_sys_resource) that a container cannot
    # grant, so executing it fails; a copy (cp drops the capability) runs. Its screen locker
    # would lock the idle session after a few minutes and then take all input: it is kept off.
    if ! kwin=$(${root:+chroot "$root"} sh -c 'command -v kwin_wayland'); then
      echo "kwin_wayland is not installed (scripts/install-deps.sh --tests installs it)" >&2
      exit 77
    fi
    cp "$root$kwin" /tmp/kwin_wayland
    printf '[Daemon]\nAutolock=false\nLockOnResume=false\n' >"$home/.config/kscreenlockerrc"
    chown "$user:$group" "$home/.config/kscreenlockerrc"
    started=(KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 /tmp/kwin_wayland --virtual --width 1024
      --height 768 --socket wayland-1)
    ;;
  labwc) started=("${wlroots[@]}" labwc) ;;
  weston)
    # --debug lets the tests' screenshots through (weston-screenshooter); the desktop shell's
    # background is the sessions' colour.
    printf '[shell]\nbackground-color=0xff204060\npanel-position=none\n' >"$home/weston.ini"
    started=(weston --backend=headless --renderer=pixman --width=1024 --height=768
      --socket=wayland-1 --idle-time=0 --debug --config="$home/weston.ini")
    ;;
  cage) started=("${wlroots[@]}" cage -d -s -- sleep infinity) ;;
  sway) started=("$home/log-in") ;;
esac
system=()
[ -n "$root" ] && system=(chroot "$root")
log="$home/$compositor.log"
: >"$log"
chown "$user:$group" "$log"  # sway's log-in writes it again at each start
"${system[@]}" "${user_prefix[@]}" "${session[@]}" "${started[@]}" >>"$log" 2>&1 &
compositor_pid=$!
# Its own children go too: cage waits for its application before it ends.
trap 'pkill -P "$compositor_pid" || true; kill "$compositor_pid" 2>/dev/null || true
  wait "$compositor_pid" 2>/dev/null || true' EXIT

# Compositors that choose their socket's name take the first free one: wayland-0 with Debian
# 13's libwayland, wayland-1 with Debian 12's.
display=
for _ in $(seq 100); do
  display=$(find "$runtime" -maxdepth 1 -type s -name 'wayland-[0-9]*' -printf '%f\n' -quit)
  if [ "$compositor" = sway ]; then
    ipc=$(find "$runtime" -maxdepth 1 -name 'sway-ipc.*' -print -quit 2>/dev/null || true)
    [ -n "$ipc" ] && [ -n "$display" ] && break
  else
    [ -n "$display" ] && break
  fi
  sleep 0.1
done
if [ -z "$display" ]; then
  echo "$compositor did not start:" >&2
  cat "$log" >&2
  # KWin needs more of the machine than the others (a copy of its binary, OpenGL in software):
  # where it cannot start, its tests say so and are skipped rather than failed.
  [ "$compositor" = kwin ] && exit 77
  exit 1
fi
[ "$compositor" = sway ] && session=(SWAYSOCK="$ipc")

# The command may end the compositor as a crash would (COMPOSITOR_PID).
session+=(COMPOSITOR_PID="$compositor_pid")
inside=()
[ -n "$install" ] && inside=("${system[@]}") && session+=(INSTALLED_PACKAGE=/tmp/package.deb)
status=0
"${inside[@]}" "${user_prefix[@]}" WAYLAND_DISPLAY="$display" "${session[@]}" "$@" || status=$?
exit "$status"
