#!/usr/bin/env bash
# The installation of a build and its Debian package, as a user meets them: what
# `cmake --install` puts where; the desktop entry, manual pages and completion scripts as their
# own tools read them; the .deb that tools/package builds from the source package in debian/: its
# files, dependencies, hardening and maintainer scripts, with lintian --pedantic finding nothing
# in it nor in the source package; the programs of the unpacked package answering --version and
# --help with no display; and the package installed over the previous version's and purged,
# leaving nothing behind (install_cycle.sh).
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
share/doc/qvr-service/guide.en.md
share/doc/qvr-service/guide.ru.md
share/doc/qvr-service/screenshots/monitor.en.png
share/doc/qvr-service/screenshots/monitor.ru.png
share/doc/qvr-service/screenshots/mux410.en.png
share/doc/qvr-service/screenshots/mux410.ru.png
share/doc/qvr-service/screenshots/tpx520.en.png
share/doc/qvr-service/screenshots/tpx520.ru.png
share/doc/qvr-service/screenshots/update.en.png
share/doc/qvr-service/screenshots/update.ru.png
share/doc/qvr-service/screenshots/write.en.png
share/doc/qvr-service/screenshots/write.ru.png
share/fish/vendor_completions.d/qvrctl.fish
share/icons/hicolor/128x128/apps/qvr-service.png
share/icons/hicolor/16x16/apps/qvr-service.png
share/icons/hicolor/256x256/apps/qvr-service.png
share/icons/hicolor/32x32/apps/qvr-service.png
share/icons/hicolor/48x48/apps/qvr-service.png
share/icons/hicolor/64x64/apps/qvr-service.png
share/icons/hicolor/scalable/apps/qvr-service.svg
share/man/man1/qvr-service.1.gz
share/man/man1/qvrctl.1.gz
share/metainfo/org.example.qvr_service.metainfo.xml
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
for size in 16 32 48 64 128 256; do
  file "$prefix/share/icons/hicolor/${size}x$size/apps/qvr-service.png" |
    grep -q "PNG image data, $size x $size," || fail "PNG icon $size"
done
metainfo=$prefix/share/metainfo/org.example.qvr_service.metainfo.xml
appstreamcli validate --strict --no-net "$metainfo" >"$scratch/appstream.txt" 2>&1 ||
  fail "metainfo: $(cat "$scratch/appstream.txt")"
grep -q '<launchable type="desktop-id">qvr-service.desktop</launchable>' "$metainfo" ||
  fail "metainfo launchable"
grep -q '<modalias>usb:v03EBp2013\*</modalias>' "$metainfo" || fail "metainfo modalias"
for lang in en ru; do
  grep -q "guide.$lang.md" "$metainfo" || fail "metainfo does not point to guide.$lang.md"
done
for page in qvr-service qvrctl; do
  text=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/man1/$page.1.gz" 2>"$scratch/man.err")
  [ -s "$scratch/man.err" ] && fail "man page $page: $(cat "$scratch/man.err")"
  for option in --help --version --simulator --simulated-latency guide.en.md guide.ru.md; do
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

echo "== the udev rule"
# It matches what the programs themselves look for: the ids and both strings.
rule=$(grep -v '^#' "$prefix/lib/udev/rules.d/70-qvr-b.rules")
header=$source_dir/src/link/hid_transport.h
constant() { sed -n "s/.*$1 = \(0x\)\{0,1\}\"\{0,1\}\([^\";]*\)\"\{0,1\};.*/\2/p" "$header"; }
for match in "ATTRS{idVendor}==\"$(constant kControllerVendorId)\"" \
  "ATTRS{idProduct}==\"$(constant kControllerProductId)\"" \
  "ATTRS{manufacturer}==\"$(constant kControllerManufacturer)\"" \
  "ATTRS{product}==\"$(constant kControllerProduct)\"" \
  'TAG+="uaccess"' 'GROUP="plugdev"' 'MODE="0660"'; do
  grep -qiF -- "$match" <<<"$rule" || fail "udev rule lacks $match"
done
[ "$(wc -l <<<"$rule")" -eq 1 ] || fail "udev rule is not one rule"
grep -qE 'MODE="0?[0-7][0-7][2367]"' <<<"$rule" && fail "udev rule lets everyone write"

echo "== bash completion"
completion=$prefix/share/bash-completion/completions/qvrctl
mkdir -p "$scratch/files/folder"
touch "$scratch/files/car.MUX" "$scratch/files/new.LDR"
complete_words() {
  (cd "$scratch/files" && PATH="$prefix/bin:$PATH" bash -c 'source "$1"; shift; COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _qvrctl; printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort |
    tr "\n" " " | sed "s/ $//"' _ "$completion" "$@")
}
# The commands are those qvrctl --help lists.
same_lists "commands" \
  "$("$prefix/bin/qvrctl" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z]*\) .*/\1/p' |
    LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')" "$(complete_words qvrctl "")"
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

echo "== completion scripts as qvrctl prints them"
# Not an older build's.
for installed in bash:bash-completion/completions/qvrctl zsh:zsh/vendor-completions/_qvrctl \
  fish:fish/vendor_completions.d/qvrctl.fish; do
  cmp -s "$prefix/share/${installed#*:}" <("$prefix/bin/qvrctl" completion "${installed%%:*}") ||
    fail "${installed%%:*} completion is not what qvrctl prints"
done

echo "== zsh and fish completion"
zsh -n "$prefix/share/zsh/vendor-completions/_qvrctl" || fail "zsh completion"
fish -n "$prefix/share/fish/vendor_completions.d/qvrctl.fish" || fail "fish completion"
same_lists "fish: connected adapters" "20230417 20230418 all sim:1 sim:2" \
  "$(PATH="$prefix/bin:$PATH" fish -c "source $prefix/share/fish/vendor_completions.d/qvrctl.fish
    complete -C 'qvrctl --simulator --simulated-adapters 2 --controller '" | cut -f1 | LC_ALL=C sort |
    tr '\n' ' ' | sed 's/ $//')"

echo "== the Debian package"
deb=$("$source_dir/tools/package" --source | tail -n 1)
package_dir=$(dirname "$deb")
version=$(dpkg-parsechangelog -l "$source_dir/debian/changelog" -S Version)
[ "$(basename "$deb")" = "qvr-service_${version}_$(dpkg --print-architecture).deb" ] ||
  fail "package name $deb"
same_lists "package files" "$(installed_files | sed 's|^lib/udev|/usr/lib/udev|; s|^\([^/]\)|/usr/\1|')" \
  "$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\.||' | sort)"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libc6 libqt6widgets6 libqt6svg6 libhidapi-hidraw0; do
  grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -q qt6-translations-l10n <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends"
same_lists "maintainer" "$(grep '^Maintainer:' "$source_dir/debian/control" | cut -d' ' -f2-)" \
  "$(dpkg-deb -f "$deb" Maintainer)"
dpkg-deb -e "$deb" "$scratch/control"
[ -x "$scratch/control/postinst" ] && grep -q "udevadm control --reload-rules" "$scratch/control/postinst" ||
  fail "postinst does not reload the udev rules"
sh -n "$scratch/control/postinst" && sh -n "$scratch/control/postrm" || fail "maintainer scripts"
# Every tag but the experimental ones and the plain information that --pedantic adds.
lintian --pedantic --fail-on error,warning,pedantic "$package_dir/qvr-service_${version}.dsc" "$deb" \
  >"$scratch/lintian.txt" 2>&1 || fail "lintian: $(cat "$scratch/lintian.txt")"
grep -E '^[EWP]:' "$scratch/lintian.txt" >&2 && fail "lintian tags"

echo "== hardening"
# What dpkg-buildflags asks for, read back from the programs: position-independent, relocations
# read-only and resolved at start (relro, now), the stack protector, fortified libc calls; and
# no compiler identification section.
root=$scratch/root
dpkg-deb -x "$deb" "$root"
for program in qvr-service qvrctl; do
  binary=$root/usr/bin/$program
  readelf -h "$binary" | grep -q 'Type: *DYN' || fail "$program is not position-independent"
  readelf -lW "$binary" | grep -q GNU_RELRO || fail "$program has no relro segment"
  readelf -d "$binary" | grep -q 'FLAGS_1.*NOW' || fail "$program is not bound now"
  symbols=$(readelf --dyn-syms -W "$binary")
  grep -q __stack_chk_fail <<<"$symbols" || fail "$program has no stack protector"
  grep -Eq '__[a-z]+_chk@' <<<"$symbols" || fail "$program calls no fortified function"
  readelf -SW "$binary" | grep -q '\] \.comment ' && fail "$program has a .comment section"
done

echo "== the unpacked package"
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

echo "== install, upgrade and purge"
# The previous version's package: built once from the commit before the top entry of
# debian/changelog, by that commit's own tools/package, and kept under build/previous-package.
previous_package() {
  local added commit cache tree built
  git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1 || return 1
  added=$(git -C "$source_dir" log -n 1 --format=%H -S "qvr-service ($version)" -- debian/changelog)
  # An entry not committed yet follows the last commit.
  if [ -n "$added" ]; then
    commit=$(git -C "$source_dir" rev-parse "$added^")
  else
    commit=$(git -C "$source_dir" rev-parse HEAD)
  fi
  cache=$source_dir/build/previous-package
  if [ ! -f "$cache/$commit.deb" ]; then
    tree=$cache/source
    rm -rf "$tree" && mkdir -p "$tree"
    git -C "$source_dir" archive "$commit" | tar -x -C "$tree"
    built=$(DEB_BUILD_OPTIONS="noopt nocheck" "$tree/tools/package" | tail -n 1) || return 1
    cp "$built" "$cache/$commit.deb"
    rm -rf "$tree"
  fi
  echo "$cache/$commit.deb"
}
if [ "$(id -u)" -ne 0 ] || ! unshare --mount true 2>/dev/null; then
  echo "skipped: installing into a copy of the system needs root and mount namespaces"
elif ! previous=$(previous_package); then
  fail "the previous version's package could not be built"
else
  cycle=0
  unshare --mount --propagation private "$source_dir/tests/packaging/install_cycle.sh" \
    "$previous" "$deb" "$scratch/install" || cycle=$?
  case $cycle in
    0) ;;
    77) echo "skipped: this system allows no overlay mount" ;;
    *) fail "install, upgrade and purge" ;;
  esac
fi

[ "$failures" -eq 0 ] || exit 1
echo "package checks passed"
