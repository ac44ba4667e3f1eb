# PLIB ships no CMake or pkg-config file: find its js module and the ul module it needs
# (find_package(PlibJs), with cmake/ on CMAKE_MODULE_PATH); Plib::js links both.
find_path(PLIB_INCLUDE_DIR plib/js.h)
find_library(PLIB_JS_LIBRARY plibjs)
find_library(PLIB_UL_LIBRARY plibul)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(PlibJs REQUIRED_VARS PLIB_INCLUDE_DIR PLIB_JS_LIBRARY PLIB_UL_LIBRARY)
if(NOT TARGET Plib::js)
  add_library(Plib::js INTERFACE IMPORTED)
  set_target_properties(Plib::js PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${PLIB_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "${PLIB_JS_LIBRARY};${PLIB_UL_LIBRARY}")
  if(WIN32)  # js reads joysticks through the multimedia API
    set_property(TARGET Plib::js APPEND PROPERTY INTERFACE_LINK_LIBRARIES winmm)
  endif()
endif()
