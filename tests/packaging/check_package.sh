#!/usr/bin/env bash
# The installation of a build and its Debian package, as a user meets them: what
# `cmake --install` puts where; the desktop entry, manual pages and bash completion as their own
# tools read them; the .deb's files, dependencies and maintainer scripts, with lintian finding no
# error; and the programs of the unpacked package answering --version and --help with no display.
# Usage: check_package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
# Every file a prefix gets, relative to it.
installed_files() {
  cat <<'LIST'
bin/qvr-service
bin/qvrctl
lib/udev/rules.d/70-qvr-b.rules
share/applications/qvr-service.desktop
share/bash-completion/completions/qvrctl
share/doc/qvr-service/changelog.gz
share/doc/qvr-service/copyright
share/fish/vendor_completions.d/qvrctl.fish
share/icons/hicolor/scalable/apps/qvr-service.svg
share/man/man1/qvr-service.1.gz
share/man/man1/qvrctl.1.gz
share/zsh/vendor-completions/_qvrctl
LIST
}
same_lists() {  # what, expected, actual
  if [ "$2" != "$3" ]; then
    fail "$1"
    diff <(echo "$2") <(echo "$3") >&2 || true
  fi
}

echo "== cmake --install"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
same_lists "installed files" "$(installed_files)" "$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)"
desktop-file-validate "$prefix/share/applications/qvr-service.desktop" || fail "desktop entry"
grep -qx "Icon=qvr-service" "$prefix/share/applications/qvr-service.desktop" || fail "desktop icon"
grep -q "<svg" "$prefix/share/icons/hicolor/scalable/apps/qvr-service.svg" || fail "icon is no SVG"
for page in qvr-service qvrctl; do
  text=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/man1/$page.1.gz" 2>"$scratch/man.err")
  [ -s "$scratch/man.err" ] && fail "man page $page: $(cat "$scratch/man.err")"
  for option in --help --version --simulator --simulated-latency; do
    grep -q -- "$option" <<<"$text" || fail "man page $page lacks $option"
  done
done
grep -q -- "--settings" <(MANWIDTH=80 man -l "$prefix/share/man/man1/qvr-service.1.gz") ||
  fail "man page qvr-service lacks --settings"
# Every option qvrctl's own help names is in its manual page.
qvrctl_page=$(MANWIDTH=200 man -l "$prefix/share/man/man1/qvrctl.1.gz")
for option in $("$prefix/bin/qvrctl" --help | grep -o -- '--[a-z-]*' | sort -u); do
  grep -q -- "$option" <<<"$qvrctl_page" || fail "man page qvrctl lacks $option"
done

echo "== bash completion"
completion=$prefix/share/bash-completion/completions/qvrctl
mkdir -p "$scratch/files/folder"
touch "$scratch/files/car.MUX" "$scratch/files/new.LDR"
complete_words() {
  (cd "$scratch/files" && PATH="$prefix/bin:$PATH" bash -c 'source "$1"; shift; COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _qvrctl; printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort |
    tr "\n" " " | sed "s/ $//"' _ "$completion" "$@")
}
same_lists "commands" "backups check default diff history info list read reset restore update write" \
  "$(complete_words qvrctl "")"
same_lists "after an option" "write" "$(complete_words qvrctl --lang ru w)"
same_lists "options" "--simulated-adapters --simulated-latency --simulator" \
  "$(complete_words qvrctl --simu)"
same_lists "devices" "mux-410" "$(complete_words qvrctl read m)"
same_lists "update files" "folder new.LDR" "$(complete_words qvrctl update tpx-520 "")"
same_lists "configuration files" "car.MUX folder" "$(complete_words qvrctl --simulator write mux-410 "")"
same_lists "command options" "--help --no-backup --yes" "$(complete_words qvrctl default mux-410 -)"
same_lists "adapters" "all" "$(complete_words qvrctl --controller a)"
same_lists "connected adapters" "20230417 20230418 all sim:1 sim:2" \
  "$(complete_words qvrctl --simulator --simulated-adapters 2 --controller "")"
# A file name with glob characters is completed as it is, never matched as a pattern.
mkdir -p "$scratch/files/globs"
touch "$scratch/files/globs/b[c].MUX" "$scratch/files/globs/bc.MUX"
same_lists "glob characters" "globs/b[c].MUX globs/bc.MUX" "$(complete_words qvrctl write mux-410 globs/b)"

echo "== zsh and fish completion"
zsh -n "$prefix/share/zsh/vendor-completions/_qvrctl" || fail "zsh completion"
fish -n "$prefix/share/fish/vendor_completions.d/qvrctl.fish" || fail "fish completion"
same_lists "fish: connected adapters" "20230417 20230418 all sim:1 sim:2" \
  "$(PATH="$prefix/bin:$PATH" fish -c "source $prefix/share/fish/vendor_completions.d/qvrctl.fish
    complete -C 'qvrctl --simulator --simulated-adapters 2 --controller '" | cut -f1 | LC_ALL=C sort |
    tr '\n' ' ' | sed 's/ $//')"

echo "== the Debian package"
(cd "$build" && cpack -G DEB -B "$scratch/deb" >/dev/null)
deb=$(ls "$scratch"/deb/qvr-service_1.14_*.deb)
same_lists "package files" "$(installed_files | sed 's|^lib/udev|/usr/lib/udev|; s|^\([^/]\)|/usr/\1|')" \
  "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\.||' | sort)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 libqt6svg6 libhidapi-hidraw0; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -q qt6-translations-l10n <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends"
dpkg-deb -e "$deb" "$scratch/control"
[ -x "$scratch/control/postinst" ] && grep -q "udevadm control --reload-rules" "$scratch/control/postinst" ||
  fail "postinst does not reload the udev rules"
sh -n "$scratch/control/postinst" && sh -n "$scratch/control/postrm" || fail "maintainer scripts"
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" >"$scratch/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$scratch/lintian.txt")"
grep '^E:' "$scratch/lintian.txt" >&2 && fail "lintian errors"

echo "== the unpacked package"
root=$scratch/root
dpkg-deb -x "$deb" "$root"
cmp -s "$root/usr/lib/udev/rules.d/70-qvr-b.rules" "$source_dir/packaging/70-qvr-b.rules" ||
  fail "udev rule"
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
same_lists "qvr-service --version" "qvr-service 1.14" "$("${no_display[@]}" "$root/usr/bin/qvr-service" --version)"
same_lists "qvrctl --version" "qvrctl 1.14" "$("${no_display[@]}" "$root/usr/bin/qvrctl" --version)"
help=$("${no_display[@]}" "$root/usr/bin/qvr-service" --help) || fail "qvr-service --help"
for option in "--simulator[=DIR]" --simulated-latency --settings --version --help; do
  grep -qF -- "$option" <<<"$help" || fail "qvr-service --help lacks $option"
done
"${no_display[@]}" "$root/usr/bin/qvr-service" --no-such-option 2>/dev/null && fail "bad option accepted"

[ "$failures" -eq 0 ] || exit 1
echo "package checks passed"
