# What `cmake --install` and the zip hold on Windows: the public headers, libsktch.a, a CMake
# package (SKTCH::sktch), the game and the examples, and a short README.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(SKTCH_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/SKTCH")

install(FILES "${PROJECT_SOURCE_DIR}/library/include/sktch.h"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")
# Compiled for Windows, this header just includes <windows.h>.
install(FILES "${PROJECT_SOURCE_DIR}/platform/include/sktch/win32.h"
              "${PROJECT_SOURCE_DIR}/library/include/sktch/run_menu.h"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}/sktch")

install(TARGETS sktch EXPORT SKTCHTargets ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}")
install(EXPORT SKTCHTargets NAMESPACE SKTCH:: DESTINATION "${SKTCH_INSTALL_CMAKEDIR}")
install(TARGETS landing ${sktch_examples} RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/" DESTINATION "examples"
        FILES_MATCHING PATTERN "*.cpp" PATTERN "scripts" EXCLUDE)
install(FILES "${PROJECT_SOURCE_DIR}/cmake/windows/README.txt" DESTINATION ".")

configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/windows/SKTCHConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/package/SKTCHConfig.cmake"
  INSTALL_DESTINATION "${SKTCH_INSTALL_CMAKEDIR}")
write_basic_package_version_file(
  "${PROJECT_BINARY_DIR}/package/SKTCHConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}"
  COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/package/SKTCHConfig.cmake"
              "${PROJECT_BINARY_DIR}/package/SKTCHConfigVersion.cmake"
        DESTINATION "${SKTCH_INSTALL_CMAKEDIR}")

# SKTCH-<version>-win64.zip: the installed tree, with `cmake --build --target package`.
set(CPACK_PACKAGE_NAME "SKTCH")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_SYSTEM_NAME "win64")
set(CPACK_GENERATOR "ZIP")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY "${PROJECT_BINARY_DIR}/package")
include(CPack)
