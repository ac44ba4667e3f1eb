# The extension loader. Its table (flags, entry points, loaders) is generated
# at build time from the Khronos registry by tools/gen_gl_ext.py; nothing
# generated is kept in the source tree.

set(GLEXT_GENERATED_DIR ${CMAKE_CURRENT_BINARY_DIR}/generated)
set(GLEXT_GENERATOR ${PROJECT_SOURCE_DIR}/tools/gen_gl_ext.py)
set(GLEXT_GL_XML ${WIRE_GATE_REGISTRY_DIR}/gl.xml)
set(GLEXT_WGL_XML ${WIRE_GATE_REGISTRY_DIR}/wgl.xml)
set(GLEXT_OUTPUTS
  ${GLEXT_GENERATED_DIR}/shell/gl_ext_table.h
  ${GLEXT_GENERATED_DIR}/gl_ext_table.cpp
  ${GLEXT_GENERATED_DIR}/gl_ext_counts.txt)

add_custom_command(
  OUTPUT ${GLEXT_OUTPUTS}
  COMMAND Python3::Interpreter ${GLEXT_GENERATOR} ${GLEXT_GL_XML} ${GLEXT_WGL_XML} ${GLEXT_GENERATED_DIR}
  DEPENDS ${GLEXT_GENERATOR} ${GLEXT_GL_XML} ${GLEXT_WGL_XML}
  COMMENT "Generating the GL extension table from ${WIRE_GATE_REGISTRY_DIR}"
  VERBATIM)

file(GLOB glext_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/gl_ext*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/glx_proc_address.cpp)
add_library(glext STATIC ${glext_sources}
  ${GLEXT_GENERATED_DIR}/gl_ext_table.cpp
  ${GLEXT_GENERATED_DIR}/shell/gl_ext_table.h)
target_include_directories(glext PUBLIC ${PROJECT_SOURCE_DIR} ${GLEXT_GENERATED_DIR})
target_link_libraries(glext PUBLIC OpenGL::OpenGL OpenGL::GLX)
