# A fixed wall clock for build tools that stamp their output with the time
# they ran (the help compiler does), so that the same sources give the same
# bytes whenever and wherever they are built. See tools/fixed-clock.
# The help compiler also writes a few bytes that depend on where its memory
# lies, so the tools run without address-space randomisation too.
#
#   QM_BUILD_TIME          the time every stamped output carries, in seconds
#                          since 1970 UTC: SOURCE_DATE_EPOCH when it is set at
#                          configure time, else 2026-01-01 00:00:00 UTC
#   QM_FIXED_CLOCK         command prefix that runs a tool on that clock,
#                          at fixed addresses
#   QM_FIXED_CLOCK_DEPENDS what a custom command using it must depend on
#   QM_FIXED_CLOCK_LIB     the preloaded library itself
#   QM_FIXED_ADDRESSES     true when the prefix also fixes the addresses, so
#                          that the help file comes out the same every run
#
# Where the clock cannot be built (no host C compiler, not x86-64 Linux) the
# prefix is empty and tools run as they are; where address randomisation
# cannot be switched off (some containers forbid it) only the clock is fixed.

if(DEFINED ENV{SOURCE_DATE_EPOCH} AND "$ENV{SOURCE_DATE_EPOCH}" MATCHES "^[0-9]+$")
  set(QM_BUILD_TIME $ENV{SOURCE_DATE_EPOCH})
else()
  set(QM_BUILD_TIME 1767225600)
endif()

set(QM_FIXED_CLOCK)
set(QM_FIXED_CLOCK_DEPENDS)
set(QM_FIXED_CLOCK_LIB)
set(QM_FIXED_ADDRESSES FALSE)
# The project's compiler may be a cross compiler; the clock runs on the host.
find_program(QM_HOST_CC NAMES cc gcc clang)
if(CMAKE_HOST_SYSTEM_NAME STREQUAL "Linux"
   AND CMAKE_HOST_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64)$"
   AND QM_HOST_CC)
  set(qm_fixed_clock_src ${PROJECT_SOURCE_DIR}/tools/fixed-clock/fixed_clock.c)
  set(QM_FIXED_CLOCK_LIB ${CMAKE_BINARY_DIR}/host-fixed-clock/libqm_fixed_clock.so)
  add_custom_command(
    OUTPUT ${QM_FIXED_CLOCK_LIB}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host-fixed-clock
    COMMAND ${QM_HOST_CC} -O2 -Wall -shared -fPIC -o ${QM_FIXED_CLOCK_LIB} ${qm_fixed_clock_src}
    DEPENDS ${qm_fixed_clock_src}
    COMMENT "Building the fixed clock for time-stamping build tools"
    VERBATIM)
  add_custom_target(qm_fixed_clock ALL DEPENDS ${QM_FIXED_CLOCK_LIB})
  set(QM_FIXED_CLOCK ${CMAKE_COMMAND} -E env TZ=UTC QM_FIXED_TIME=${QM_BUILD_TIME}
                     LD_PRELOAD=${QM_FIXED_CLOCK_LIB})
  find_program(QM_SETARCH setarch)
  set(qm_setarch_rc 1)
  if(QM_SETARCH)
    execute_process(COMMAND ${QM_SETARCH} --addr-no-randomize true
                    RESULT_VARIABLE qm_setarch_rc OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(qm_setarch_rc EQUAL 0)
    list(PREPEND QM_FIXED_CLOCK ${QM_SETARCH} --addr-no-randomize)
    set(QM_FIXED_ADDRESSES TRUE)
  else()
    message(STATUS "Address randomisation cannot be switched off here: PartKit.chm may differ in a few bytes from build to build")
  endif()
  set(QM_FIXED_CLOCK_DEPENDS ${QM_FIXED_CLOCK_LIB} qm_fixed_clock)
else()
  message(STATUS "No fixed clock for this host: PartKit.chm will differ from build to build")
endif()
