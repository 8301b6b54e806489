# DLLs outside Windows' Known DLLs (odbc32, comctl32) are delay-loaded, so
# that they are looked up only after start-up has restricted the DLL search
# to the system directory; a DLL planted beside the program is never used.
# shell32 and ole32 serve only the folder dialog: delayed, they stay out of
# start-up.
#
# MinGW builds delay-import libraries with dlltool from the .def files here;
# MSVC has /DELAYLOAD.
set(SELVANE_DELAY_LOADED odbc32 comctl32 shell32 ole32)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delayload)

function(selvane_delay_load target)
  if(MSVC)
    foreach(dll ${SELVANE_DELAY_LOADED})
      target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
      target_link_libraries(${target} PRIVATE ${dll})
    endforeach()
    target_link_libraries(${target} PRIVATE delayimp)
    return()
  endif()
  string(REPLACE "-gcc-posix" "-dlltool" dlltool "${CMAKE_C_COMPILER}")
  string(REPLACE "-gcc" "-dlltool" dlltool "${dlltool}")
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(kill_at "")
  else()
    set(kill_at --kill-at)  # stdcall names decorated in the library, bare in the DLL
  endif()
  foreach(dll ${SELVANE_DELAY_LOADED})
    set(library ${CMAKE_BINARY_DIR}/delayload/lib${dll}-delay.a)
    set(definitions ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      # 64-bit names carry no stdcall decoration.
      file(READ ${definitions} text)
      string(REGEX REPLACE "@[0-9]+" "" text "${text}")
      set(definitions ${CMAKE_BINARY_DIR}/delayload/${dll}.def)
      file(WRITE ${definitions} "${text}")
    endif()
    if(NOT TARGET ${dll}-delay)
      add_custom_command(OUTPUT ${library}
        COMMAND ${dlltool} --input-def ${definitions} --output-delaylib ${library} --dllname ${dll}.dll ${kill_at}
        DEPENDS ${definitions} VERBATIM)
      add_custom_target(${dll}-delay DEPENDS ${library})
    endif()
    add_dependencies(${target} ${dll}-delay)
    list(APPEND libraries ${library})
  endforeach()
  # After the libraries that call into them: the link resolves left to right.
  target_link_libraries(${target} PRIVATE selvane_win selvane_core ${libraries})
endfunction()
