# Installs every layer library and its headers, and exports vardel::vardel for find_package(vardel).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

get_property(vardel_libs GLOBAL PROPERTY VARDEL_LIBRARIES)
add_library(vardel INTERFACE)
target_link_libraries(vardel INTERFACE ${vardel_libs})
add_library(vardel::vardel ALIAS vardel)

install(TARGETS vardel ${vardel_libs} EXPORT vardelTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY src/ DESTINATION include/vardel FILES_MATCHING PATTERN "*.h"
  PATTERN "demo" EXCLUDE
  # The FreeType wrapper is internal: it pulls in FreeType's own headers.
  PATTERN "freetype/Freetype.h" EXCLUDE)
install(EXPORT vardelTargets NAMESPACE vardel:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vardel)

set(VARDEL_NEEDS_FREETYPE 0)
set(VARDEL_NEEDS_X11 0)
if(TARGET vardel_freetype)
  set(VARDEL_NEEDS_FREETYPE 1)
endif()
if(TARGET vardel_platform AND NOT WIN32)
  set(VARDEL_NEEDS_X11 1)
endif()

configure_package_config_file(cmake/vardelConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/vardelConfig.cmake
  INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vardel)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/vardelConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/vardelConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/vardelConfigVersion.cmake
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/vardel)
