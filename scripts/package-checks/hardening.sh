# shellcheck shell=bash disable=SC2154  # the variables of scripts/test-packages.sh
# The hardening of the packaged programs: check_linux_hardening after the
# .deb is unpacked, check_windows_hardening after the zip is. Sourced by
# scripts/test-packages.sh, whose helpers and variables it uses.
#
# Linux: hardening-check on the .deb's pellox must answer "yes" on every
# line, except where the tool cannot see what is there:
#   - "Fortify Source functions: no, only unprotected functions found": the
#     tool counts fortified (__*_chk) calls; the compiler writes one only
#     for a call whose destination size it knows but cannot prove enough,
#     and every such call of ours is proven at compile time. Accepted when
#     every compile command has _FORTIFY_SOURCE and the optimiser.
#   - "Stack clash protection: unknown": the tool knows only the probe loop
#     of variable-sized frames; the program's large fixed frame must show
#     the probe loop that -fstack-clash-protection writes.
#   - "Control flow integrity: no": the linker marks a program IBT and SHSTK
#     only when every object linked in is marked; Debian 12's C start files
#     (Scrt1.o, crti.o, crtn.o) are not. Accepted when relinking with
#     -z cet-report names those files and none of ours.
# Every hardening flag of dpkg-buildflags (hardening=+all) must be in every
# compile and link command of the packaged program. lintian, with its
# information tags, must name no hardening tag except the fortify one above
# when it is accepted.
#
# Windows: the zip's pellox.exe asks for ASLR (high entropy) and NX, and
# has the stack protector's guard and handler linked in (static libssp).

# Set by check_linux_hardening for the functions below.
linux_build=
packaged_pellox=
hardening_report=
compile_commands=
link_command=
hardening_answer() { sed -n "s/^ $1: //p" <<<"$hardening_report"; }

# Prints each of the FLAGS that a line of LINES lacks. A _FORTIFY_SOURCE
# level is met by any level at least as high.
missing_flags() {
  local lines=$1 flag
  shift
  for flag; do
    if [[ $flag == -D_FORTIFY_SOURCE=* ]]; then
      grep -vqE -- " -D_FORTIFY_SOURCE=[${flag#*=}-9] " <<<"$lines" && echo "$flag"
    else
      grep -vqF -- " $flag " <<<"$lines" && echo "$flag"
    fi
  done
  return 0
}
# The hardening flags of dpkg-buildflags with every hardening feature on:
# its flags without the debug, optimisation and file-prefix ones.
dpkg_hardening_flags() {
  DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1" | tr ' ' '\n' |
    grep -vE '^(-g|-O.*|-f(file|debug|macro)-prefix-map=.*|)$'
}
flags_in_every_command() {
  local compile_flags link_flags missing
  mapfile -t compile_flags < <(dpkg_hardening_flags CXXFLAGS; dpkg_hardening_flags CPPFLAGS)
  mapfile -t link_flags < <(dpkg_hardening_flags LDFLAGS)
  missing=$(
    missing_flags "$compile_commands" "${compile_flags[@]}" -fstack-clash-protection \
      -fcf-protection
    missing_flags "$link_command" "${link_flags[@]}" -pie
  )
  [[ -z $missing ]] || { echo "missing from a command: $missing"; return 1; }
}
answers_yes() {
  local name
  for name; do
    [[ $(hardening_answer "$name") == yes ]] || { echo "$name: $(hardening_answer "$name")"; return 1; }
  done
}
fortify_accepted() {
  local answer
  answer=$(hardening_answer "Fortify Source functions")
  [[ $answer == yes ]] && return 0
  [[ $answer == "no, only unprotected functions found!" ]] || { echo "$answer"; return 1; }
  grep -vqE -- ' -O[1-3s] ' <<<"$compile_commands" && { echo "a compile command without -O"; return 1; }
  [[ -z $(missing_flags "$compile_commands" -D_FORTIFY_SOURCE=2) ]]
}
# lea r11,[rsp-N]; sub rsp,0x1000; or QWORD PTR [rsp],0x0; cmp rsp,r11; jne
stack_probe_loop() {
  objdump -d -M intel --no-show-raw-insn "$packaged_pellox" | awk '
    /sub +rsp,0x1000$/ { sub_seen = NR }
    /or +QWORD PTR \[rsp\],0x0$/ && sub_seen == NR - 1 { probe = NR }
    /cmp +rsp,r11$/ && probe == NR - 1 { found = 1 }
    END { exit !found }'
}
stack_clash_accepted() {
  local answer
  answer=$(hardening_answer "Stack clash protection")
  [[ $answer == yes ]] || stack_probe_loop || { echo "$answer, and no probe loop"; return 1; }
}
# The C start files' names when they are all that lacks the IBT and SHSTK
# marks in the program's link.
cet_unmarked_inputs() {
  local command=${link_command/ -o src\/platform\/qt\/pellox / -o $work/pellox-cet -Wl,-z,cet-report=warning }
  (cd "$linux_build" && bash -c "$command" 2>&1 >/dev/null) |
    sed -n 's/^.*ld: \(.*\): warning: missing IBT and SHSTK properties$/\1/p' | xargs -r -n1 basename |
    sort -u | tr '\n' ' '
}
cfi_accepted() {
  local answer unmarked
  answer=$(hardening_answer "Control flow integrity")
  [[ $answer == yes ]] && return 0
  unmarked=$(cet_unmarked_inputs)
  [[ $unmarked == "Scrt1.o crti.o crtn.o " ]] || { echo "$answer; unmarked: $unmarked"; return 1; }
}
no_hardening_tags() {
  local tags
  tags=$(lintian --display-info "${lintian_root_option[@]}" "$deb" 2>&1 |
    grep -o 'hardening-[a-z-]*' | sort -u)
  if fortify_accepted >/dev/null 2>&1; then
    tags=$(grep -vx hardening-no-fortify-functions <<<"$tags")
  fi
  [[ -z $tags ]] || { echo "$tags"; return 1; }
}

check_linux_hardening() {
  section "Hardening: the packaged pellox (hardening-check)"
  linux_build="$build/linux"
  packaged_pellox="$deb_root/usr/bin/pellox"
  local commands
  commands=$(ninja -C "$linux_build" -t commands src/platform/qt/pellox)
  # One command a line, each ending in a blank, so " FLAG " finds a flag.
  compile_commands=$(grep -- ' -c ' <<<"$commands" | sed 's/$/ /')
  link_command=$(grep -- ' -o src/platform/qt/pellox ' <<<"$commands" | sed 's/$/ /')
  hardening_report=$(hardening-check "$packaged_pellox" 2>&1)
  sed 's/^/        /' <<<"$hardening_report"

  check "the packaged pellox's compile and link commands found" \
    test -n "$compile_commands" -a -n "$link_command"
  check "every compile and link command of pellox has dpkg-buildflags' hardening flags (+all), stack-clash and control-flow protection" \
    flags_in_every_command
  check "PIE, stack protector, read-only relocations, immediate binding: yes" \
    answers_yes "Position Independent Executable" "Stack protected" "Read-only relocations" \
    "Immediate binding"
  check "fortified functions: yes, or every call proven at compile time with _FORTIFY_SOURCE and -O on" \
    fortify_accepted
  check "stack-clash protection: yes, or the probe loop of a large frame in the program" \
    stack_clash_accepted
  check "control-flow protection: yes, or every object of ours marked and only the C start files not" \
    cfi_accepted
  check "lintian --display-info names no hardening tag (but the fortify one accepted above)" \
    no_hardening_tags
}

check_windows_hardening() {
  section "Hardening: the zip's pellox.exe"
  local exe="$work/zip/pellox.exe" pe_header="$work/pe-header"
  x86_64-w64-mingw32-objdump -p "$exe" >"$pe_header"
  check "PE header: ASLR with high entropy, NX (DYNAMIC_BASE, HIGH_ENTROPY_VA, NX_COMPAT)" \
    bash -c 'for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
      grep -qE "^\s+$flag$" "$1" || { echo "no $flag"; exit 1; }; done' _ "$pe_header"
  check "relocations kept for ASLR (a .reloc section)" \
    bash -c 'x86_64-w64-mingw32-objdump -h "$1" | grep -q "\.reloc"' _ "$exe"
  check "the stack protector's guard and handler linked in (static libssp), no libssp DLL" \
    bash -c 'symbols=$(x86_64-w64-mingw32-nm "$1") &&
      grep -qE " [TB] __stack_chk_guard$" <<<"$symbols" &&
      grep -qE " T __stack_chk_fail$" <<<"$symbols" &&
      ! grep -qi "DLL Name: libssp" "$2"' _ "$build/win32/src/platform/win32/pellox.exe" \
    "$pe_header"
  check "every compile command of pellox.exe has -fstack-protector-strong and _FORTIFY_SOURCE=2" \
    bash -c 'lines=$(ninja -C "$1" -t commands src/platform/win32/pellox.exe |
      grep -- " -c " | sed "s/\$/ /")
      [[ -n $lines ]] && ! grep -vqF -- " -fstack-protector-strong " <<<"$lines" &&
      ! grep -vqE -- " -D_FORTIFY_SOURCE=[2-9] " <<<"$lines"' _ "$build/win32"
  if ! x86_64-w64-mingw32-ld --help | grep -q -- --cetcompat; then
    note "not marked CET-compatible: $(x86_64-w64-mingw32-ld --version | head -n 1) has no --cetcompat"
  fi
}
