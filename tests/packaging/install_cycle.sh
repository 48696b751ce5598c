#!/usr/bin/env bash
# Installs the previous version's package, upgrades it to this one and purges it, in a copy of
# the running system: an overlay over / in a mount namespace of its own, so the machine itself
# never changes. Afterwards the copy must hold exactly the files it held before. udev runs
# nowhere here: first it is absent (the scripts must not call udevadm), then a udevadm that
# fails is found beside a /run/udev (the scripts must call it and still succeed), then one
# that works. Between the upgrade and the purge the installed window runs as root.
# Usage: unshare --mount --propagation private install_cycle.sh PREVIOUS.deb THIS.deb SCRATCH
# Exit status 0 passed, 1 failed, 77 the system allows no overlay here.
set -euo pipefail
previous=$1
current=$2
work=$3
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
# The overlay's writable layer lives in memory: it works over any root file system, an
# overlay of a container's included. Where the system allows no overlay, exit 77: skipped.
mkdir -p "$work"
mount -t tmpfs tmpfs "$work" || exit 77
mkdir -p "$work/upper" "$work/overlay-work" "$work/root"
root=$work/root
mount -t overlay overlay -o "lowerdir=/,upperdir=$work/upper,workdir=$work/overlay-work" "$root" ||
  exit 77
for fs in proc sys dev; do mount --rbind "/$fs" "$root/$fs"; done
mount -t tmpfs tmpfs "$root/tmp"
mount -t tmpfs tmpfs "$root/run"
cp "$previous" "$root/tmp/previous.deb"
cp "$current" "$root/tmp/current.deb"
in_root() { chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"; }
# man-db's trigger would rebuild its whole index; it is not what is tested here.
rm -f "$root/var/lib/man-db/auto-update"

# What the copy holds where packages install: every path with its type and mode, and the
# names at the top. What dpkg keeps about itself, logs and caches are their owners' business;
# the rest of the machine (homes, work folders) changes under other programs meanwhile.
listing() {
  in_root find / -maxdepth 1 -printf '%y %m %p\n'
  in_root find /etc /usr /opt /srv /var -xdev \( -path /var/lib/dpkg -o -path /var/log \
    -o -path /var/cache -o -path /var/tmp \) -prune -o -printf '%y %m %p\n'
}
sorted_listing() { listing | sort; }
# A machine with the package installed: the copy starts without it.
if in_root dpkg-query -W qvr-service >/dev/null 2>&1; then
  in_root dpkg --purge qvr-service >/dev/null 2>&1 || fail "the installed package cannot be purged"
fi
sorted_listing >"$work/before.txt"

# A udevadm that records its calls and fails while /run/fail-udevadm exists.
cat >"$root/usr/local/sbin/udevadm" <<'SCRIPT'
#!/bin/sh
echo "udevadm $*" >>/tmp/udevadm.log
[ ! -e /run/fail-udevadm ]
SCRIPT
chmod 755 "$root/usr/local/sbin/udevadm"
calls() { cat "$root/tmp/udevadm.log" 2>/dev/null; rm -f "$root/tmp/udevadm.log"; }

echo "-- install $(dpkg-deb -f "$previous" Version) without udev"
in_root dpkg -i /tmp/previous.deb >"$work/dpkg.log" 2>&1 || fail "install: $(cat "$work/dpkg.log")"
[ -z "$(calls)" ] || fail "udevadm called where udev does not run"

echo "-- upgrade to $(dpkg-deb -f "$current" Version), udev present but not answering"
mkdir -p "$root/run/udev" && touch "$root/run/fail-udevadm"
in_root dpkg -i /tmp/current.deb >"$work/dpkg.log" 2>&1 || fail "upgrade: $(cat "$work/dpkg.log")"
upgrade_calls=$(calls)
grep -qx "udevadm control --reload-rules" <<<"$upgrade_calls" || fail "upgrade: rules not reloaded"
grep -q "^udevadm trigger .*hidraw" <<<"$upgrade_calls" || fail "upgrade: hidraw not triggered"
[ "$(in_root dpkg-query -W -f='${Version}' qvr-service)" = "$(dpkg-deb -f "$current" Version)" ] ||
  fail "the upgraded version is not installed"
for file in $(dpkg-deb -c "$current" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\.||'); do
  [ -e "$root$file" ] || fail "upgrade: $file missing"
done
in_root qvrctl --version >/dev/null || fail "installed qvrctl does not run"

echo "-- the installed window run as root keeps its settings in root's configuration folder"
# Started without a function or subshell between, so that $! is the program itself.
chroot "$root" env -i PATH=/usr/bin:/bin HOME=/tmp/home QT_QPA_PLATFORM=offscreen \
  qvr-service --simulator=/tmp/sim >"$work/window.log" 2>&1 &
window=$!
# SIGTERM closes the window, which writes its settings, once the window watches for it.
watches_term() {
  local mask
  mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$window/status" 2>/dev/null) && [ -n "$mask" ] &&
    (((0x$mask >> 14) & 1))
}
until watches_term; do
  kill -0 "$window" 2>/dev/null || fail "qvr-service ended by itself: $(cat "$work/window.log")"
  sleep 0.1
done
kill -TERM "$window"
wait "$window" || fail "qvr-service closed with a failure: $(cat "$work/window.log")"
[ -f "$root/tmp/home/.config/qvr-service/qvr-service.ini" ] ||
  fail "no settings in root's configuration folder"
[ ! -e "$root/usr/bin/qvr-service.ini" ] || fail "settings written beside the installed program"

echo "-- purge, udev answering"
rm "$root/run/fail-udevadm"
in_root dpkg --purge qvr-service >"$work/dpkg.log" 2>&1 || fail "purge: $(cat "$work/dpkg.log")"
grep -qx "udevadm control --reload-rules" <<<"$(calls)" || fail "purge: rules not reloaded"
rm "$root/usr/local/sbin/udevadm"

sorted_listing >"$work/after.txt"
diff "$work/before.txt" "$work/after.txt" >&2 || fail "the purge left the file system changed"
echo "install, upgrade and purge: nothing left"
