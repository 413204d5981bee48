# The code emitter's tests: the bytes read back with Capstone, routines run in Unicorn.
add_executable(emit_tests
  ${CMAKE_CURRENT_LIST_DIR}/emit_code_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/emit_harness.cpp
  ${CMAKE_CURRENT_LIST_DIR}/emit_run_test.cpp
)
target_link_libraries(emit_tests PRIVATE brindle_image PkgConfig::CAPSTONE PkgConfig::UNICORN GTest::gtest_main)
set_target_properties(emit_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
gtest_discover_tests(emit_tests)
