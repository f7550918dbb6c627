# The same sources give the same programs, whoever builds them, wherever and whenever:
# - no link time in the PE header (mingw's ld writes the current time there by default);
# - no build path in the programs: source and build folders are mapped away from __FILE__,
#   std::source_location and debug information.
# tests/package proves it by comparing two build trees at different paths byte for byte.
if(MINGW)
  add_link_options(-Wl,--no-insert-timestamp)
endif()
if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # The build folder lies inside the source folder: its map comes last, as the last match wins.
  add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=;-ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/>")
endif()
