# Sourced by the scripts: decides once which form of the programs this host runs and tests.
#
# The product is the 32-bit (i686) programs, and build/dist always holds them. Some hosts run
# no 32-bit Linux program at all, so 32-bit Wine cannot start there; on those the same sources
# are built for x86_64 and run under 64-bit Wine, which is how the 32-bit product is tested
# there, not a second product. TANDREL_ARCH=i686|x86_64 forces a form.

# Whether this kernel starts an i386 program: a 93-byte static ELF that only exits 0.
tandrel_runs_i386() {
  local probe
  probe=$(mktemp "${TMPDIR:-/tmp}/tandrel-i386.XXXXXX")
  printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  local rc=0
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  return "$rc"
}

# Left by deps.sh on a host that runs 32-bit programs where the distribution's mirror could
# not give the 32-bit Wine and plugins (an index it serves broken); the host then tests the
# x86_64 form. Delete it to try the 32-bit form again.
TANDREL_NO_I386_MARK=/var/lib/tandrel-no-i386-packages

if [ -z "${TANDREL_ARCH_WHY:-}" ]; then
  case "${TANDREL_ARCH:-}" in
    i686|x86_64) TANDREL_ARCH_WHY="TANDREL_ARCH=$TANDREL_ARCH was given" ;;
    "")
      if tandrel_runs_i386 && [ ! -e "$TANDREL_NO_I386_MARK" ]; then
        TANDREL_ARCH=i686
        TANDREL_ARCH_WHY="this host runs 32-bit programs"
      elif tandrel_runs_i386; then
        TANDREL_ARCH=x86_64
        TANDREL_ARCH_WHY="this host runs 32-bit programs, but 32-bit Wine could not be installed ($TANDREL_NO_I386_MARK)"
      else
        TANDREL_ARCH=x86_64
        TANDREL_ARCH_WHY="this host runs no 32-bit program, so 32-bit Wine cannot start"
      fi
      ;;
    *)
      echo "TANDREL_ARCH must be i686 or x86_64, not '$TANDREL_ARCH'" >&2
      return 2 2>/dev/null || exit 2
      ;;
  esac
  export TANDREL_ARCH TANDREL_ARCH_WHY
fi

# One line for the start of run.sh and test.sh.
tandrel_say_form() {
  if [ "$TANDREL_ARCH" = i686 ]; then
    echo "== form: the 32-bit programs under 32-bit Wine ($TANDREL_ARCH_WHY)"
  else
    echo "== form: the x86_64 build of the same sources under 64-bit Wine ($TANDREL_ARCH_WHY);"
    echo "   build/dist still holds the 32-bit programs"
  fi
}
