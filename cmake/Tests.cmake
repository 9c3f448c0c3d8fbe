# GoogleTest: the native tree uses Debian's installed package; the Windows tree
# cross-builds it from Debian's sources in /usr/src/googletest.
if(WIN32)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# tesmar_test(NAME DIR LIBS...): one test program from every .cpp in DIR,
# its tests listed for CTest by scanning the sources (no need to run the
# program at build time, which under Wine would need a display).
function(tesmar_test name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gtest)
  gtest_add_tests(TARGET ${name} SOURCES ${sources} WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
