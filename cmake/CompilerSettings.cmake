# Warnings are errors in both builds; the native build can run under the sanitizers.
option(TELLARO_SANITIZE "Native build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(TELLARO_WARNINGS -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)

function(tellaro_warnings target)
  target_compile_options(${target} PRIVATE ${TELLARO_WARNINGS})
endfunction()

if(WIN32)
  # Statically linked C and C++ runtimes (and winpthread): the programs need nothing but the system's DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

# Native builds for use take the hardening Debian builds its packages with: the stack
# protector, checked C library calls (which need an optimised build) and relocations made
# read-only once the program is loaded.
if(NOT WIN32 AND NOT TELLARO_SANITIZE AND NOT TELLARO_FUZZ)
  add_compile_options(-fstack-protector-strong)
  add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,-z,relro,-z,now)
endif()

if(TELLARO_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TELLARO_FUZZ AND NOT WIN32)
  # Everything linked into a fuzz target is instrumented for coverage and checked.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
endif()
