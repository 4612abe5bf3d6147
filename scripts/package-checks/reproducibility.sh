# shellcheck shell=bash disable=SC2154  # the variables of scripts/test-packages.sh
# Reproducible packages. Sourced by scripts/test-packages.sh, whose helpers
# and variables it uses.
#
# check_package_times: every time stamp in the packages is the default
# SOURCE_DATE_EPOCH, the last commit's time.
#
# check_reproducible: the packages are made a second time from a copy of
# the sources in another folder, with another umask, locale and time zone,
# minutes later, and compiled from scratch: the compiler cache that
# developers use (CMAKE_CXX_COMPILER_LAUNCHER=ccache) is left out and
# disabled, so no object comes from the first build. The two sets must be
# the same bytes (diffoscope shows what differs). This proves that neither
# the compile nor the packaging records the place, the time, the umask, the
# locale or the zone of a build; both builds use this machine's compilers
# and libraries, as a reproducing user would use the same versions.

# The time package.sh stamps by default.
default_source_date_epoch() {
  if [[ -e "$root/.git" ]]; then
    git -C "$root" log -1 --format=%ct
  else
    dpkg-parsechangelog -l "$root/packaging/linux/changelog" -S Timestamp
  fi
}

check_package_times() {
  local epoch
  epoch=$(default_source_date_epoch)
  section "Time stamps: the last commit's time, $(date -u -d "@$epoch" '+%F %T') UTC"
  # One line per entry: its date and time in UTC.
  deb_times() {
    { dpkg-deb --ctrl-tarfile "$deb"; } | tar -tv --full-time --utc | awk '{print $4, $5}'
    { dpkg-deb --fsys-tarfile "$deb"; } | tar -tv --full-time --utc | awk '{print $4, $5}'
  }
  check ".deb: every file and folder" \
    bash -c '[[ $(sort -u <<<"$1") == "$2" ]] || { sort -u <<<"$1"; exit 1; }' _ \
    "$(deb_times)" "$(date -u -d "@$epoch" '+%F %T')"
  # DOS times count in steps of two seconds; zip rounds an odd second up.
  check "zip: every file (to two seconds)" \
    bash -c '[[ $(TZ=UTC unzip -Z -T "$1" | awk "/^-/ {print \$7}" | sort -u) == "$2" ]]' _ \
    "$zip" "$(date -u -d "@$((epoch + epoch % 2))" '+%Y%m%d.%H%M%S')"
  check "pellox.exe in the zip: the PE header's time stamp" \
    bash -c '[[ $(unzip -p "$1" pellox.exe >"$3/stamp.exe" &&
      TZ=UTC LC_ALL=C x86_64-w64-mingw32-objdump -p "$3/stamp.exe" |
      sed -n "s/^Time\/Date\t*//p") == "$2" ]]' _ \
    "$zip" "$(TZ=UTC LC_ALL=C date -d "@$epoch" '+%a %b %e %H:%M:%S %Y')" "$work"
}

# A copy of the sources as they are now (committed or not, ignored files
# left out) at COPY, with the repository's history when there is one.
copy_sources() {
  local copy=$1
  if [[ -e "$root/.git" ]]; then
    git clone -q --shared --no-checkout "$root" "$copy"
  else
    mkdir -p "$copy"
  fi
  (cd "$root" && git ls-files -z --cached --others --exclude-standard 2>/dev/null ||
    find . -path ./build -prune -o -path ./dist -prune -o -type f -printf '%P\0') |
    (cd "$root" && tar --null --files-from=- --ignore-failed-read -cf - 2>/dev/null) |
    tar -C "$copy" -xf -
}

# The first builds' build types, and the command prefix that keeps the
# compiler cache out.
build_type() { sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$1/CMakeCache.txt"; }
no_cache=(env -u CMAKE_CXX_COMPILER_LAUNCHER -u CMAKE_C_COMPILER_LAUNCHER CCACHE_DISABLE=1)

# Configures COPY's build/linux and build/win32 as the test command
# configures its builds, without the compiler cache.
configure_copy() {
  local copy=$1
  "${no_cache[@]}" cmake -S "$copy" -B "$copy/build/linux" -G Ninja \
    -DCMAKE_BUILD_TYPE="$(build_type "$build/linux")" -DPELLOX_BUILD_TESTS=OFF \
    -DPELLOX_BUILD_BENCH=OFF -DPELLOX_WERROR=ON >/dev/null &&
    "${no_cache[@]}" cmake -S "$copy" -B "$copy/build/win32" -G Ninja \
      -DCMAKE_BUILD_TYPE="$(build_type "$build/win32")" \
      -DCMAKE_TOOLCHAIN_FILE="$copy/cmake/mingw-w64.cmake" -DPELLOX_BUILD_TESTS=OFF \
      -DPELLOX_WERROR=ON >/dev/null &&
    ! grep -l ccache "$copy/build/linux/build.ninja" "$copy/build/win32/build.ninja"
}

# Compiles COPY's programs with umask UMASK, locale LOCALE and zone ZONE
# (here rather than in package.sh, which sets its own locale and zone),
# then makes the packages into COPY/dist.
build_copy() (
  local copy=$1
  umask "$2"
  cd "$copy" &&
    "${no_cache[@]}" LC_ALL="$3" TZ="$4" cmake --build build/linux -j "$(nproc)" \
      --target pellox pellox_icons pellox_docs >/dev/null &&
    "${no_cache[@]}" LC_ALL="$3" TZ="$4" cmake --build build/win32 -j "$(nproc)" \
      --target pellox pellox_icons >/dev/null &&
    "${no_cache[@]}" PELLOX_LINUX_BUILD="$copy/build/linux" PELLOX_WIN32_BUILD="$copy/build/win32" \
      bash scripts/package.sh
)

check_reproducible() {
  section "Reproducible: the packages made again elsewhere, later, from scratch"
  local started=$SECONDS copy="$work/elsewhere/another-pellox"
  local other_umask=0077 other_locale=C.UTF-8 other_zone=JST-9
  [[ $(umask) == 0077 ]] && other_umask=0022
  [[ ${LC_ALL:-${LANG:-C}} == C.UTF-8 ]] && other_locale=POSIX
  check "the sources copied to another folder" copy_sources "$copy"
  check "configured as the first builds, without the compiler cache" configure_copy "$copy"
  check "compiled and packaged with umask $other_umask, LC_ALL=$other_locale, TZ=$other_zone" \
    build_copy "$copy" "$other_umask" "$other_locale" "$other_zone"
  local name differing=()
  for name in "$(basename "$deb")" "$(basename "$zip")" "$(basename "$setup")" SHA256SUMS; do
    if cmp -s "$root/dist/$name" "$copy/dist/$name"; then
      pass "$name: the same bytes"
    else
      fail "$name: differs"
      differing+=("$name")
    fi
  done
  for name in "${differing[@]}"; do
    if command -v diffoscope >/dev/null; then
      diffoscope --text - "$root/dist/$name" "$copy/dist/$name" 2>&1 | head -n 200 |
        sed 's/^/        /'
    fi
  done
  note "the second build took $((SECONDS - started)) s"
}
