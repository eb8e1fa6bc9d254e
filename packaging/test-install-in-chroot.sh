#!/usr/bin/env bash
# Installs a built moriva_*.deb into a clean Debian 12 (bookworm) chroot and tries it there: the
# command-line tool, its manual page, an import and a list, the window under Xvfb in English
# and in Japanese with a screenshot of each, and the removal of the package.
#
# Not run by CTest or CI: it needs root (debootstrap, chroot, mounts), the network (the Debian
# mirror) and several minutes.
#
#   sudo packaging/test-install-in-chroot.sh [DEB] [CHROOT] [SHOTS]
#
# DEB defaults to the newest build/moriva_*.deb, CHROOT to /work/chroot-deb (made with
# debootstrap when it does not exist yet), SHOTS (the screenshots) to ./shots-package.
# The host needs debootstrap, Xvfb and ImageMagick's convert (for the screenshots). The window's
# screenshots are taken before anything is installed into the chroot by hand.
set -euo pipefail

deb=${1:-$(ls -t build*/moriva_*.deb 2>/dev/null | head -n 1)}
root=${2:-/work/chroot-deb}
shots=${3:-shots-package}
mirror=${MIRROR:-http://deb.debian.org/debian}

[ -f "$deb" ] || { echo "no package: build it with cmake --build build --target package" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "run as root" >&2; exit 2; }
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)

if [ ! -x "$root/usr/bin/apt-get" ]; then
  debootstrap --variant=minbase bookworm "$root" "$mirror"
fi

mounted=()
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done
}
trap cleanup EXIT
for fs in proc sys dev dev/pts; do
  mount --bind "/$fs" "$root/$fs"
  mounted+=("$root/$fs")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
step() { printf '\n=== %s\n' "$*"; }

step "install $(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "/tmp/$(basename "$deb")"
in_root dpkg -s moriva | grep -E '^(Package|Version|Section|Maintainer|Depends|Recommends):'

step "installed files"
for f in /usr/bin/moriva /usr/bin/moriva-cli /usr/share/applications/moriva.desktop \
         /usr/share/icons/hicolor/scalable/apps/moriva.svg \
         /usr/share/metainfo/jp.moriva.Moriva.metainfo.xml \
         /usr/share/man/man1/moriva-cli.1.gz /usr/share/man/man1/moriva.1.gz \
         /usr/share/doc/moriva/copyright /usr/share/doc/moriva/changelog.Debian.gz; do
  [ -f "$root$f" ] && echo "ok  $f" || { echo "MISSING $f"; exit 1; }
done

home=/tmp/moriva-home
user_env=(HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config
          XDG_RUNTIME_DIR=$home/run LANG=en_US.UTF-8)
rm -rf "$root$home"
mkdir -p "$root$home/run"
chmod 700 "$root$home/run"
as_user() { in_root env "${user_env[@]}" "$@"; }

step "moriva-cli --version"
as_user moriva-cli --version
step "moriva-cli --help"
as_user moriva-cli --help
step "moriva --version and --help, with no display"
as_user moriva --version
as_user moriva --help

step "import and list"
printf '%s\r\n' '操作日(年),操作日(月),操作日(日),操作時刻(時),操作時刻(分),操作時刻(秒),取引順番号,摘要,お支払金額,お預り金額,残高' \
  '2026,3,5,9,5,0,1,ATM引出し,10000,0,90000' \
  '2026,3,6,12,0,0,2,セブン銀行 手数料,110,0,89890' \
  '2026,4,1,0,0,0,3,利息,0,5,89895' > "$root$home/NBG_2026.csv"
printf '%s\n' '取引日,入出金(円),残高(円),入出金先内容' \
  '"20260305","-1500","900","AMAZON, INC"' \
  '"20260310","2400","3300","振込 ヤマダ"' > "$root$home/eBANK_2026.csv"
as_user moriva-cli import "$home/NBG_2026.csv" "$home/eBANK_2026.csv"
as_user moriva-cli list --bank jnb
as_user moriva-cli list --bank ebank --format json
as_user moriva-cli list --bank jnb --month 2026-03 --format csv
as_user moriva-cli check
set +e
as_user moriva-cli list --month 2026-13; echo "exit status $? (a usage error is 2)"
set -e


# The window on an X server of the host's: nothing is added to the chroot for it. The chroot's
# programs reach it through the socket folder, bound in; Xvfb writes its screen to a file.
shoot() {
  local name=$1
  shift
  local fb
  fb=$(mktemp -d)
  Xvfb :57 -screen 0 1100x760x24 -fbdir "$fb" -nolisten tcp &
  xvfb_pid=$!
  sleep 3
  # chroot and env exec, so that $! is the window's own process.
  chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin "${user_env[@]}" DISPLAY=:57 "$@" moriva &
  local app=$!
  sleep 8
  convert "xwd:$fb/Xvfb_screen0" "$shots/$name.png"
  echo "screenshot $shots/$name.png"
  kill "$app"
  wait "$app" || true
  kill "$xvfb_pid"
  wait "$xvfb_pid" || true
  xvfb_pid=
  rm -rf "$fb"
}
mkdir -p /tmp/.X11-unix "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
mounted+=("$root/tmp/.X11-unix")
step "moriva in English"
shoot installed-en LANG=en_US.UTF-8
step "moriva in Japanese"
shoot installed-ja LANG=ja_JP.UTF-8 LANGUAGE=ja LC_ALL=ja_JP.UTF-8

# What a desktop adds around the package, installed only after the screenshots: the window has
# shown by then what the package alone brings (its Depends and Recommends, fonts among them).
step "tools for the manual pages and the menu entry"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  man-db desktop-file-utils
in_root desktop-file-validate /usr/share/applications/moriva.desktop && echo "desktop file valid"

step "man moriva-cli"
as_user env MANWIDTH=100 man moriva-cli | head -n 40
as_user env MANWIDTH=100 man moriva | head -n 12


step "remove"
in_root env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q moriva
for f in /usr/bin/moriva /usr/bin/moriva-cli /usr/share/doc/moriva; do
  [ ! -e "$root$f" ] || { echo "LEFT BEHIND $f"; exit 1; }
done
echo "moriva removed"

step "done"
