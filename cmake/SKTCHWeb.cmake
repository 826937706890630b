# SKTCH programs as web pages. sktch_add_web_program(target sources... [TITLE text]
# [PICTURE png] [SCRIPTS files...] [NO_INDEX]) links a program with the web backend into target.js and
# target.wasm, writes its page target.html beside them in the site folder, and copies its
# picture and scripts there; sktch_add_web_index() writes index.html linking every program.
set(SKTCH_WEB_SITE ${CMAKE_BINARY_DIR}/site)
set(SKTCH_WEB_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../platform/backends/web)
set(SKTCH_WEB_FONTS /usr/share/fonts/truetype/dejavu)
set_property(GLOBAL PROPERTY SKTCH_WEB_PROGRAMS "")

# Asyncify lets the program's wait (sktch_web_wait) and the backend's poll (emscripten_sleep)
# suspend the program until the page has input. It instruments every function that may be on
# the stack when they do: those that call them and, because it cannot tell where an indirect
# call goes, every function that makes an indirect call, and all their callers. That would
# put its bookkeeping into every drawing call. The functions below make indirect calls that
# never reach a suspension, so they are left out, and their callers with them unless they
# reach one some other way. Nothing here may ever lead to the backend's wait or poll, to a
# dialog, a window procedure or a message dispatch. The names are those of the wasm name
# section after optimization (emcc warns of a name that matches nothing: a function was
# renamed or inlined, which is safe but slow); a file, because the names hold spaces.
set(SKTCH_WEB_NEVER_SUSPEND
    # The only indirect call is to a new-handler, and none is ever installed.
    "operator new(unsigned long)"
    # Calls Backend::pixels_changed, which in the web backend marks the canvas changed.
    "sktch::platform::window_pixels_changed(HWND__*)"
    # Reads a font file built into the page through stdio's read and close callbacks, which
    # copy from memory.
    "sktch::glyphs::(anonymous namespace)::load_face(char const*)"
    # Formats into a buffer through printf's write and number-format callbacks.
    "vsnprintf")
string(JOIN "\n" never_suspend ${SKTCH_WEB_NEVER_SUSPEND})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/asyncify_never_suspend.txt CONTENT "${never_suspend}\n")
set(SKTCH_WEB_NEVER_SUSPEND_FILE ${CMAKE_BINARY_DIR}/asyncify_never_suspend.txt)

function(sktch_add_web_program target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_INDEX" "TITLE;PICTURE" "SCRIPTS")
  add_executable(${target} ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${target} PRIVATE sktch_web)
  set_target_properties(${target} PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${SKTCH_WEB_SITE})
  # Asyncify lets the program's wait and modal dialogs sleep until the page has input.
  target_link_options(${target} PRIVATE
    -sASYNCIFY -sASYNCIFY_IMPORTS=[sktch_web_wait] -sASYNCIFY_STACK_SIZE=65536
    -sASYNCIFY_REMOVE=@${SKTCH_WEB_NEVER_SUSPEND_FILE}
    -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web -lidbfs.js
    "SHELL:--js-library ${SKTCH_WEB_SOURCE}/sktch_web.js"
    "SHELL:--embed-file ${SKTCH_WEB_FONTS}/DejaVuSans.ttf@/fonts/DejaVuSans.ttf"
    "SHELL:--embed-file ${SKTCH_WEB_FONTS}/DejaVuSansMono.ttf@/fonts/DejaVuSansMono.ttf")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${SKTCH_WEB_SOURCE}/sktch_web.js
                                                            ${SKTCH_WEB_NEVER_SUSPEND_FILE})

  set(SKTCH_PAGE_NAME ${target})
  set(SKTCH_PAGE_TITLE ${arg_TITLE})
  if(NOT SKTCH_PAGE_TITLE)
    string(REPLACE "_" " " SKTCH_PAGE_TITLE ${target})
  endif()
  configure_file(${SKTCH_WEB_SOURCE}/page.html.in ${SKTCH_WEB_SITE}/${target}.html @ONLY)
  foreach(script IN LISTS arg_SCRIPTS)
    configure_file(${script} ${SKTCH_WEB_SITE}/ COPYONLY)
  endforeach()
  set(picture "")
  if(arg_PICTURE)
    get_filename_component(picture ${arg_PICTURE} NAME)
    configure_file(${arg_PICTURE} ${SKTCH_WEB_SITE}/${picture} COPYONLY)
  endif()
  if(NOT arg_NO_INDEX)
    set_property(GLOBAL APPEND PROPERTY SKTCH_WEB_PROGRAMS "${target}|${SKTCH_PAGE_TITLE}|${picture}")
  endif()
endfunction()

function(sktch_add_web_index)
  get_property(programs GLOBAL PROPERTY SKTCH_WEB_PROGRAMS)
  set(SKTCH_INDEX_ENTRIES "")
  foreach(entry IN LISTS programs)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 title)
    list(GET fields 2 picture)
    set(image "")
    if(picture)
      set(image "<img src=\"${picture}\" alt=\"${title}\" width=\"297\">")
    endif()
    string(APPEND SKTCH_INDEX_ENTRIES
      "    <li><a href=\"${name}.html\">${image}<span>${title}</span></a></li>\n")
  endforeach()
  configure_file(${SKTCH_WEB_SOURCE}/index.html.in ${SKTCH_WEB_SITE}/index.html @ONLY)
endfunction()
