# Included by the Windows program's build: embeds the stored player states
# that the native tree's loader builder wrote (build the native tree first).
if(NOT TESMAR_NATIVE_BUILD)
  message(FATAL_ERROR "TESMAR_NATIVE_BUILD must name the native build tree, whose loader builder "
                      "writes the movies the program embeds (scripts/build sets it)")
endif()
set(LOADER_DIR ${TESMAR_NATIVE_BUILD}/display/movies)
set(loader_records ${LOADER_DIR}/ShowcasePlayer.bin ${LOADER_DIR}/CollectionPlayer.bin ${LOADER_DIR}/CustomPlayer.bin)
configure_file(${CMAKE_SOURCE_DIR}/display/movies/movies.rc.in ${CMAKE_CURRENT_BINARY_DIR}/movies.rc @ONLY)
target_sources(screensaver PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/movies.rc)
# Rebuilt movies are embedded again.
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/movies.rc PROPERTIES OBJECT_DEPENDS "${loader_records}")
