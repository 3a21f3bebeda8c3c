# tellaro_add_test(<name> SOURCES ... [LIBS ...] [WRAPPER command...])
# One GoogleTest program per behaviour, registered whole with CTest. In the Windows
# build it runs under Wine (the toolchain's emulator); Wine tests share one prefix
# and display per run, so they hold the "wine" resource lock and run one at a time.
# A WRAPPER command runs the test program (and its emulator) as its last arguments.
function(tellaro_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;WRAPPER" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  tellaro_warnings(${name})
  if(T_WRAPPER)
    add_test(NAME ${name} COMMAND ${T_WRAPPER} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  if(WIN32)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK wine TIMEOUT 300)
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 300
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp")
  endif()
endfunction()

# tellaro_add_fuzzer(<name> SOURCES ... LIBS ... CORPUS <dir>)
# A libFuzzer target; CTest replays its seed corpus so regressions show up in every run.
function(tellaro_add_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 ${F_CORPUS})
endfunction()
