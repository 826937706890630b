# What `cmake --install` puts where: the public headers, the two library archives with the
# archive they need, the replay tool's main() as an archive of its own, the landing game and
# its replay tool, a CMake package (SKTCH::sktch, SKTCH::sktch_headless,
# SKTCH::sktch_replay_main) and pkg-config files (sktch, sktch-headless, sktch-replay).
#
# The object libraries (sktch_library, sktch_platform_core and the backends) are exported
# for their usage requirements only: their objects already live in the archives that link
# them directly, and CMake never links an object library's objects into the targets that
# reach it through another library.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(SKTCH_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/SKTCH")
set(SKTCH_INSTALL_PKGCONFIGDIR "${CMAKE_INSTALL_LIBDIR}/pkgconfig")

install(FILES "${PROJECT_SOURCE_DIR}/library/include/sktch.h"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
install(FILES "${PROJECT_SOURCE_DIR}/platform/include/sktch/win32.h"
              "${PROJECT_SOURCE_DIR}/platform/include/sktch/headless.h"
              "${PROJECT_SOURCE_DIR}/library/include/sktch/run_menu.h"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/sktch")

# The headless library and everything under it; the Qt library in an export set of its own,
# so that a headless program can use the package where Qt is not installed.
install(TARGETS sktch_headless sktch_library sktch_platform_core sktch_backend_headless
                sktch_raster sktch_replay_main
        EXPORT SKTCHTargets
        ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}")
install(EXPORT SKTCHTargets NAMESPACE SKTCH:: DESTINATION "${SKTCH_INSTALL_CMAKEDIR}")
if(SKTCH_BUILD_QT)
  install(TARGETS sktch sktch_backend_qt
          EXPORT SKTCHQtTargets
          ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}")
  install(EXPORT SKTCHQtTargets NAMESPACE SKTCH:: DESTINATION "${SKTCH_INSTALL_CMAKEDIR}")
  install(TARGETS landing RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endif()
install(TARGETS sktch-replay RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

# The CMake package.
configure_package_config_file(
  "${CMAKE_CURRENT_LIST_DIR}/SKTCHConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/package/SKTCHConfig.cmake"
  INSTALL_DESTINATION "${SKTCH_INSTALL_CMAKEDIR}")
write_basic_package_version_file(
  "${PROJECT_BINARY_DIR}/package/SKTCHConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}"
  COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/package/SKTCHConfig.cmake"
              "${PROJECT_BINARY_DIR}/package/SKTCHConfigVersion.cmake"
        DESTINATION "${SKTCH_INSTALL_CMAKEDIR}")

# The pkg-config files find the prefix from their own place, so an installed tree may be
# moved; directories given as absolute paths are written as they are.
function(sktch_pkgconfig_dir out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "\${prefix}/${dir}" PARENT_SCOPE)
  endif()
endfunction()
if(IS_ABSOLUTE "${SKTCH_INSTALL_PKGCONFIGDIR}")
  set(SKTCH_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH up "/prefix/${SKTCH_INSTALL_PKGCONFIGDIR}" "/prefix")
  string(REGEX REPLACE "/$" "" up "${up}")
  set(SKTCH_PC_PREFIX "\${pcfiledir}/${up}")
endif()
sktch_pkgconfig_dir(SKTCH_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
sktch_pkgconfig_dir(SKTCH_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")

set(SKTCH_PC_NAME "sktch-headless")
set(SKTCH_PC_DESCRIPTION "SKTCH without a screen: windows in memory, a virtual clock")
set(SKTCH_PC_LIBRARY "sktch_headless")
set(SKTCH_PC_REQUIRES "freetype2 fontconfig libpng")
configure_file("${CMAKE_CURRENT_LIST_DIR}/sktch.pc.in" "${PROJECT_BINARY_DIR}/package/sktch-headless.pc"
               @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/package/sktch-headless.pc"
        DESTINATION "${SKTCH_INSTALL_PKGCONFIGDIR}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/sktch-replay.pc.in"
               "${PROJECT_BINARY_DIR}/package/sktch-replay.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/package/sktch-replay.pc"
        DESTINATION "${SKTCH_INSTALL_PKGCONFIGDIR}")
if(SKTCH_BUILD_QT)
  set(SKTCH_PC_NAME "sktch")
  set(SKTCH_PC_DESCRIPTION "SKTCH: a small graphics library for a first program")
  set(SKTCH_PC_LIBRARY "sktch")
  set(SKTCH_PC_REQUIRES "Qt6Widgets freetype2 fontconfig libpng")
  configure_file("${CMAKE_CURRENT_LIST_DIR}/sktch.pc.in" "${PROJECT_BINARY_DIR}/package/sktch.pc"
                 @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/package/sktch.pc"
          DESTINATION "${SKTCH_INSTALL_PKGCONFIGDIR}")
endif()
