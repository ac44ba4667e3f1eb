# The extension loader: its tables are generated from the Khronos registry.
# (Replaced by the generator's rules; until then an empty target.)
add_library(glext INTERFACE)
target_include_directories(glext INTERFACE ${PROJECT_SOURCE_DIR})
target_link_libraries(glext INTERFACE OpenGL::OpenGL OpenGL::GLX)
