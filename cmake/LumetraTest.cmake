# lumetra_add_test(<name> SOURCES ... LIBS ...): one GoogleTest binary and its ctest entry.
# Cross builds run the binary through CMAKE_CROSSCOMPILING_EMULATOR (wine-run), which ctest
# puts in front of the command by itself.
if(WIN32)
  # GoogleTest for MinGW, built from the sources Debian's googletest package ships.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()

function(lumetra_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} lumetra_test_support GTest::gtest_main)
  lumetra_target_defaults(${name})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS "unit")
endfunction()
