# Run by CPack on the tree staged for the package, as Debian's dh_strip runs
# on a package's tree: every ELF file loses its .comment and .note sections
# and the symbols that nothing needs to load it. CMake's own strip (plain
# `strip`) would leave .comment, which names the compiler and is of no use.
# Never the whole file system, were the staging folder not named.
if(NOT IS_DIRECTORY "${CPACK_TEMPORARY_DIRECTORY}")
  message(FATAL_ERROR "no staging folder (CPACK_TEMPORARY_DIRECTORY '${CPACK_TEMPORARY_DIRECTORY}')")
endif()
file(GLOB_RECURSE files LIST_DIRECTORIES false "${CPACK_TEMPORARY_DIRECTORY}/*")
set(stripped 0)
foreach(file IN LISTS files)
  if(IS_SYMLINK "${file}")
    continue()
  endif()
  file(READ "${file}" magic LIMIT 4 HEX)
  if(magic STREQUAL "7f454c46")
    execute_process(COMMAND "${CPACK_WIRE_GATE_STRIP}" --remove-section=.comment --remove-section=.note
                            --strip-unneeded "${file}" RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "strip failed on ${file}")
    endif()
    math(EXPR stripped "${stripped} + 1")
  endif()
endforeach()
# The program is always there: none found means the staging tree moved.
if(stripped EQUAL 0)
  message(FATAL_ERROR "no ELF file to strip under ${CPACK_TEMPORARY_DIRECTORY}")
endif()
