# What the tests of the cross build need before any test program is built.
#
# GoogleTest: Debian packages it for Linux only, so the Windows build compiles it from Debian's
# source package (googletest, in /usr/src/googletest) with the cross compiler and names its targets
# as find_package(GTest) would.
set(QUORVEL_GTEST_SOURCE /usr/src/googletest/googletest CACHE PATH "GoogleTest sources")
if(NOT EXISTS ${QUORVEL_GTEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest sources are missing (package googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)  # GoogleTest uses Win32 threads on Windows

# GoogleTest's own warnings are not ours: it builds without the project's warning options.
get_directory_property(quorvel_saved_options COMPILE_OPTIONS)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "")
add_subdirectory(${QUORVEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set_directory_properties(PROPERTIES COMPILE_OPTIONS "${quorvel_saved_options}")

# Newer GoogleTest releases name their targets so themselves.
if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
endif()

# The tests of each program are listed when ctest starts, not right after the program is linked:
# listing runs the program under Wine, and a build that starts Wine (cold, beside the compiler) can
# overrun any listing time limit and fail for no fault of the code.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# The Wine prefix: listing a test program's tests runs it under Wine right after it is linked, with
# a time limit that Wine's first start (half a minute or more, making the prefix) would overrun.
# So the prefix is made now, once; later runs only wake Wine's server for the build.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  message(STATUS "Preparing Wine for the tests")
  execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} cmd.exe /c exit
                  RESULT_VARIABLE quorvel_wine_result OUTPUT_QUIET ERROR_QUIET TIMEOUT 300)
  if(NOT quorvel_wine_result EQUAL 0)
    message(WARNING "Wine does not run Windows programs here (${quorvel_wine_result}); "
                    "the tests cannot be listed or run")
  endif()
endif()
