# Sanitized and fuzzing builds of the native code, each in a build directory
# of its own (scripts/hardening.sh configures them).
#   CORVANE_SANITIZE  AddressSanitizer + UndefinedBehaviorSanitizer; any report
#                     ends the process with an error.
#   CORVANE_FUZZ      also instruments for coverage and builds the libFuzzer
#                     targets of tests/fuzz (clang only).
option(CORVANE_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(CORVANE_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

if(CORVANE_SANITIZE OR CORVANE_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
  # A report needs file and line of each frame, not full debug information,
  # which costs most of this build's time.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(corvane_line_tables -gline-tables-only)
  else()
    set(corvane_line_tables -g1)
  endif()
  foreach(lang C CXX)
    set(CMAKE_${lang}_FLAGS_RELWITHDEBINFO "-O2 ${corvane_line_tables} -DNDEBUG")
  endforeach()
endif()
if(CORVANE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "CORVANE_FUZZ needs clang (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
