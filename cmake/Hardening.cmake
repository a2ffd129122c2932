# The release build's hardening, as Debian builds its packages: checked buffer
# functions, stack protection, and relocations resolved at start and then made
# read-only (the compiler makes position-independent executables by default).
# Release builds only: the checked functions need optimisation, and the debug and
# sanitizer builds look for faults their own way.
# The relocation flags are the ELF linker's, so Windows builds go without.
option(ZEMTRA_HARDEN "Build the release configuration hardened" ON)
if(ZEMTRA_HARDEN AND NOT WIN32)
  set(release $<CONFIG:Release>)
  add_compile_options($<${release}:-U_FORTIFY_SOURCE> $<${release}:-D_FORTIFY_SOURCE=2>
                      $<${release}:-fstack-protector-strong> $<${release}:-fstack-clash-protection>)
  add_link_options($<${release}:LINKER:-z,relro> $<${release}:LINKER:-z,now>)
endif()
