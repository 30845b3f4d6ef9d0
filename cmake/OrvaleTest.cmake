# orvale_test(NAME SOURCES... LIBS ... [WINDOW WxH]): a GoogleTest program.
# Without WINDOW each test case is its own CTest test; with WINDOW the whole
# program runs once under its own Xvfb screen of that size.
function(orvale_test name)
  cmake_parse_arguments(T "" "WINDOW" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ORVALE_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             ORVALE_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set(_env "ORVALE_NO_MESSAGE_BOX=1"
           "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
           "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
           "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
  if(T_WINDOW)
    add_test(NAME ${name}
             COMMAND ${PROJECT_SOURCE_DIR}/tests/with_xvfb.sh ${T_WINDOW} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${_env}" TIMEOUT 600)
  else()
    gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "${_env}" DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
