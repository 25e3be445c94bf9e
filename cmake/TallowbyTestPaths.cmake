# One generated header, tests/test_paths.h, tells tests, benchmarks and tools
# where the source tree, the build tree and the test data are.
if(NOT TARGET tallowby_test_paths)
    configure_file(${PROJECT_SOURCE_DIR}/tests/test_paths.h.in
                   ${PROJECT_BINARY_DIR}/generated-test/tests/test_paths.h.in @ONLY)
    file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/generated-test/tests/test_paths.h
         INPUT ${PROJECT_BINARY_DIR}/generated-test/tests/test_paths.h.in)
    add_library(tallowby_test_paths INTERFACE)
    target_include_directories(tallowby_test_paths INTERFACE ${PROJECT_BINARY_DIR}/generated-test)
endif()
