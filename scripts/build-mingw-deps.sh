#!/usr/bin/env bash
# Builds the audio decoding libraries (libogg, libvorbis, libFLAC, libmpg123,
# libxmp, libspeex) for the two Windows targets from Debian's source packages,
# as static libraries, into a cache that cmake/AudioDeps.cmake reads:
#   ${MENUHOST_MINGW_DEPS:-$HOME/.cache/menuhost/mingw-deps}/<triple>/{include,lib,lib/pkgconfig}
# Debian ships these libraries only for Linux, so the cross builds come from the
# very sources the native -dev packages were made from.
# A library is rebuilt only when its stamp (Debian version and build recipe) is
# missing or differs, so a run over a complete cache takes a moment.
# Prints one line per library and target; the build output goes to logs/.
# Usage: scripts/build-mingw-deps.sh [triple ...]
set -euo pipefail

cache="${MENUHOST_MINGW_DEPS:-$HOME/.cache/menuhost/mingw-deps}"
triples=("$@")
[ ${#triples[@]} -eq 0 ] && triples=(i686-w64-mingw32 x86_64-w64-mingw32)
# Source package names; the order puts libogg before the libraries using it.
packages=(libogg libvorbis flac mpg123 libxmp speex)
jobs=2

say() { echo "mingw-deps: $*"; }
die() { echo "mingw-deps: $*" >&2; exit 1; }
as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

mkdir -p "$cache/logs" "$cache/src"
# Two checkouts on one machine share the cache: one builder at a time.
exec 9>"$cache/.lock"
flock 9

# --- Source versions -------------------------------------------------------

deb_src_file=/etc/apt/sources.list.d/menuhost-deb-src

# Source entries for the Debian archives that the binary packages come from,
# so that the sources match the installed -dev packages.
write_deb_src() {
  local tmp f
  tmp="$(mktemp -d)"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    # deb822 stanzas whose Types hold "deb" and whose URIs name a Debian archive.
    awk 'function flush() {
           if (s != "" && deb && debian) { print s; print "" }
           s = ""; deb = 0; debian = 0
         }
         /^[ \t]*$/ { flush(); next }
         /^Types:/ { deb = ($0 ~ /[ \t]deb([ \t]|$)/); $0 = "Types: deb-src" }
         /^URIs:/ { debian = (tolower($0) ~ /debian/) }
         { s = (s == "" ? $0 : s "\n" $0) }
         END { flush() }' "$f"
  done >"$tmp/sources"
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    grep -iE '^[ \t]*deb[ \t].*debian' "$f" | sed -E 's/^[ \t]*deb/deb-src/' || true
  done >"$tmp/list"
  [ -s "$tmp/sources" ] || [ -s "$tmp/list" ] || die "no Debian archive found in /etc/apt/sources.list*"
  [ -s "$tmp/sources" ] && as_root install -m 644 "$tmp/sources" "$deb_src_file.sources"
  [ -s "$tmp/list" ] && as_root install -m 644 "$tmp/list" "$deb_src_file.list"
  rm -rf "$tmp"
}

has_deb_src() {
  grep -qsE '^[ \t]*(deb-src[ \t]|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
    /etc/apt/sources.list.d/*.sources
}

declare -A version=()
# The newest version of each source package the archive offers, which is what
# "apt-get source" would fetch.
read_versions() {
  local pkg ver
  version=()
  while read -r pkg ver; do
    if [ -z "${version[$pkg]:-}" ] || dpkg --compare-versions "$ver" gt "${version[$pkg]}"; then
      version[$pkg]="$ver"
    fi
  done < <(apt-cache showsrc --only-source "${packages[@]}" 2>/dev/null |
    awk '/^Package:/ { p = $2 } /^Version:/ { print p, $2 }')
  for pkg in "${packages[@]}"; do
    [ -n "${version[$pkg]:-}" ] || return 1
  done
}

if ! has_deb_src; then
  say "adding deb-src entries ($deb_src_file.*)"
  write_deb_src
fi
if ! read_versions; then
  as_root apt-get update -qq >"$cache/logs/apt-update.log" 2>&1 ||
    die "apt-get update failed, see $cache/logs/apt-update.log"
  read_versions || die "apt-cache showsrc finds no sources for ${packages[*]} (deb-src missing?)"
fi

# --- Recipes ---------------------------------------------------------------
# Each runs in the unpacked source tree with $prefix, $triple and $jobs set,
# and builds and installs the library alone: no programs, documentation or tests.

# The configure scripts take most of the time, mostly in running the cross
# compiler over and over: dash runs them faster than bash, and the libraries of
# one target share the answers to the questions they have in common.
autotools_configure() {
  CONFIG_SHELL=/bin/dash dash ./configure --cache-file="$cache/work/$triple.config.cache" \
    --host="$triple" --prefix="$prefix" --enable-static --disable-shared \
    --disable-dependency-tracking "$@"
}

recipe_libogg() {
  autotools_configure
  make -j"$jobs" -C src
  make -C src install
  make -C include install
  make install-pkgconfigDATA
}

recipe_libvorbis() {
  autotools_configure --with-ogg="$prefix" --disable-oggtest --disable-docs --disable-examples
  make -j"$jobs" -C lib
  make -C lib install
  make -C include install
  make install-pkgconfigDATA
}

recipe_flac() {
  # Stack protection and fortified sources would pull libssp into every program.
  autotools_configure --with-ogg="$prefix" --disable-oggtest --disable-programs \
    --disable-examples --disable-doxygen-docs --disable-cpplibs --disable-thorough-tests \
    --disable-stack-smash-protection --disable-fortify-source --disable-version-from-git
  # libFLAC-static.la is a second copy for the library's own tests.
  make -j"$jobs" -C src/libFLAC libFLAC.la
  make -C src/libFLAC install-libLTLIBRARIES install-pkgconfigDATA
  make -C include/FLAC install
}

recipe_mpg123() {
  # This release always configures its output and synth libraries too; only
  # libmpg123 is built and installed, so the dummy output keeps configure short.
  autotools_configure --with-audio=dummy --with-default-audio=dummy --enable-modules=no \
    --enable-network=no
  make -j"$jobs" src/libmpg123/libmpg123.la
  make install-libLTLIBRARIES install-includeHEADERS install-nodist_includeHEADERS \
    install-pkgconfigDATA lib_LTLIBRARIES=src/libmpg123/libmpg123.la \
    include_HEADERS=src/libmpg123/fmt123.h nodist_include_HEADERS=src/libmpg123/mpg123.h \
    pkgconfig_DATA=libmpg123.pc
}

recipe_libxmp() {
  # Its own Makefile (not automake) builds in the source tree and takes the
  # archiver from make's default, which would be the host's.
  autotools_configure
  make -j"$jobs" AR="$triple-ar" static
  make AR="$triple-ar" install
}

recipe_speex() {
  autotools_configure --disable-binaries
  make -j"$jobs" -C libspeex
  make -C libspeex install
  make -C include install
  make install-pkgconfigDATA
}

# What the stamp records besides the Debian version, so that a changed recipe
# rebuilds the library.
recipe_id() {
  declare -f "recipe_$1" autotools_configure build_env | sha1sum | cut -c1-12
}

# --- Fetching the sources --------------------------------------------------

# Files of a .dsc with their SHA-256 sums, as "sum name" lines.
dsc_files() {
  awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on && NF == 3 { print $1, $3 }' "$1"
}

# Downloads the source package once into $cache/src/<pkg>_<version> and checks
# every file the .dsc lists. The archive lacks the upstream signature (.asc)
# of some tarballs (mpg123): "apt-get source" then fails after the tarball has
# arrived, and the signature is simply not used.
fetch() {  # pkg
  local pkg="$1" ver="${version[$1]}" dir sum name ok=1
  dir="$cache/src/${pkg}_$ver"
  local dsc="$dir/${pkg}_${ver#*:}.dsc"
  if [ -f "$dir/.verified" ]; then
    echo "$dsc"
    return
  fi
  # Earlier versions' sources go too.
  rm -rf "$cache/src/${pkg}_"*
  mkdir -p "$dir"
  (cd "$dir" && apt-get source --download-only --only-source -qq "$pkg=$ver") >"$cache/logs/fetch-$pkg.log" 2>&1 || true
  [ -f "$dsc" ] || die "could not download the source of $pkg $ver, see $cache/logs/fetch-$pkg.log"
  while read -r sum name; do
    if [ ! -f "$dir/$name" ]; then
      [[ "$name" == *.asc ]] && continue
      ok=0
    elif [ "$(sha256sum <"$dir/$name" | cut -d' ' -f1)" != "$sum" ]; then
      ok=0
    fi
  done < <(dsc_files "$dsc")
  [ "$ok" -eq 1 ] || die "the source of $pkg $ver is incomplete or damaged, see $cache/logs/fetch-$pkg.log"
  touch "$dir/.verified"
  echo "$dsc"
}

# --- Building --------------------------------------------------------------

build_env() {
  export CC="$triple-gcc-posix" AR="$triple-ar" RANLIB="$triple-ranlib" STRIP="$triple-strip"
  export CFLAGS="-O2" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib"
  # Only our own .pc files: neither the host's nor the cross wrapper's paths.
  export PKG_CONFIG=pkg-config PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig" PKG_CONFIG_PATH=
}

stamp_text() {  # pkg
  echo "${version[$1]} $(recipe_id "$1")"
}

is_current() {  # pkg triple
  local stamp="$cache/$2/stamps/$1"
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(stamp_text "$1")" ]
}

build() {  # pkg triple
  local pkg="$1" triple="$2" ver="${version[$1]}"
  local prefix="$cache/$triple" stamp="$cache/$triple/stamps/$pkg"
  is_current "$pkg" "$triple" && return
  local dsc log="$cache/logs/$triple-$pkg.log" work="$cache/work/$triple"
  dsc="$(fetch "$pkg")"
  # What an earlier build installed goes first, so that nothing stale remains.
  rm -f "$stamp"
  if [ -f "$stamp.files" ]; then
    (cd "$prefix" && xargs -r rm -f <"$stamp.files")
  fi
  rm -rf "$work"
  mkdir -p "$work" "$prefix/stamps"
  (cd "$prefix" && find . -path ./stamps -prune -o ! -type d -print | sort) >"$work/before"
  local start=$SECONDS
  # dpkg-source applies Debian's patches; --no-check: the files were checked
  # against the .dsc above, which apt took from the signed archive index.
  # A job of its own rather than a condition, where bash would ignore set -e
  # inside the recipe.
  local rc=0
  (
    set -e
    cd "$work"
    dpkg-source --no-check -x "$dsc" src
    cd src
    build_env
    "recipe_$pkg"
  ) >"$log" 2>&1 &
  wait $! || rc=$?
  if [ "$rc" -ne 0 ]; then
    tail -n 25 "$log" >&2
    die "$triple $pkg $ver: build failed, see $log"
  fi
  (cd "$prefix" && find . -path ./stamps -prune -o ! -type d -print | sort) |
    comm -13 "$work/before" - >"$stamp.files"
  rm -rf "$work"
  stamp_text "$pkg" >"$stamp"
  say "$triple $pkg $ver: built in $((SECONDS - start)) s"
}

for triple in "${triples[@]}"; do
  command -v "$triple-gcc-posix" >/dev/null || die "$triple-gcc-posix is missing (scripts/install-deps.sh installs it)"
done
# Sources first, once for both targets; then the targets side by side, since
# the configure scripts, which take much of the time, use one core each.
for pkg in "${packages[@]}"; do
  current=()
  for triple in "${triples[@]}"; do
    is_current "$pkg" "$triple" && current+=("$triple")
  done
  [ ${#current[@]} -eq 0 ] || say "$pkg ${version[$pkg]}: cached for ${current[*]}"
  [ ${#current[@]} -eq ${#triples[@]} ] || fetch "$pkg" >/dev/null
done
# Answers shared only within one run, which sees the same compilers throughout.
rm -f "$cache"/work/*.config.cache
pids=()
for triple in "${triples[@]}"; do
  (for pkg in "${packages[@]}"; do build "$pkg" "$triple"; done) &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do
  wait "$pid" || failed=1
done
exit "$failed"
