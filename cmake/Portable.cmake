# Portable program code that is not the player (settings encodings, command
# line, layout arithmetic): built into the screen saver and, natively, tested
# fast. It lives in the portable/ folder of each program area.
file(GLOB portable_sources CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/startup/portable/*.cpp
  ${CMAKE_SOURCE_DIR}/display/portable/*.cpp
  ${CMAKE_SOURCE_DIR}/dialogs/portable/*.cpp)
add_library(tesmar_portable STATIC ${portable_sources} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
target_include_directories(tesmar_portable PUBLIC ${CMAKE_SOURCE_DIR})
