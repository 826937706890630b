# SKTCH on Windows: the library, the game and the examples compile against the system's own
# <windows.h> and link user32, gdi32 and kernel32. There is no platform layer, no Qt, no
# FreeType: GDI draws, and Windows' start-up calls the program's WinMain (GUI programs).
#
# Included by the top-level CMakeLists.txt in place of the Linux build when WIN32 is set;
# works with MinGW-w64, cross from Linux (cmake/toolchains/mingw-w64-x86_64.cmake) or native.

# The runtime goes into the programs, so an .exe runs on its own, copied anywhere.
set(sktch_static_runtime -static -static-libgcc -static-libstdc++)

file(GLOB sktch_library_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/library/src/*.cpp")
add_library(sktch STATIC ${sktch_library_sources})
target_include_directories(sktch
  PUBLIC $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/library/include>
         $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/platform/include>
         $<INSTALL_INTERFACE:include>
  PRIVATE "${PROJECT_SOURCE_DIR}/library/src")
target_link_libraries(sktch PUBLIC user32 gdi32 kernel32)

# A GUI program over the library.
function(sktch_windows_program name)
  add_executable(${name} WIN32 ${ARGN})
  target_link_libraries(${name} PRIVATE sktch)
  target_link_options(${name} PRIVATE ${sktch_static_runtime})
endfunction()

file(GLOB sktch_game_sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/game/*.cpp")
sktch_windows_program(landing ${sktch_game_sources})
target_include_directories(landing PRIVATE "${PROJECT_SOURCE_DIR}/game")

set(sktch_examples shapes bouncing_ball mouse_paint ask_name text_window)
foreach(example IN LISTS sktch_examples)
  sktch_windows_program(${example} "${PROJECT_SOURCE_DIR}/examples/${example}.cpp")
endforeach()

if(SKTCH_BUILD_TESTS)
  add_subdirectory(tests/windows)
endif()

include(cmake/SKTCHWindowsInstall.cmake)
