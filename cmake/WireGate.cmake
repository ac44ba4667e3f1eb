# wg_add_library(<name> SOURCES <files...> [PUBLIC <targets...>] [PRIVATE <targets...>])
#
# One static library per folder, also known as wire_gate::<name>. Its headers
# are included with their folder's name ("graphics/guards.h"). The include
# path of a target holds its own folder and those of the libraries it links,
# nothing else (each folder is reached through a link in
# <build>/include/<name>/), so an include of a library that a target does
# not link does not compile.
function(wg_add_library name)
  cmake_parse_arguments(L "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
  add_library(${name} STATIC ${L_SOURCES})
  add_library(wire_gate::${name} ALIAS ${name})
  target_include_directories(${name} PUBLIC ${root})
  target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
endfunction()
