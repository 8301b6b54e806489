# DLLs outside Windows' Known DLLs (odbc32, comctl32) are delay-loaded, so
# that they are looked up only after start-up has restricted the DLL search
# to the system directory; a DLL planted beside the program is never used.
# shell32 and ole32 serve only the folder dialog, advapi32 and netapi32 the
# check of who can change the run's programs and the event log at a run's
# end: delayed, they stay out of start-up.
#
# dlltool builds a delay-import library from each .def file here: per
# function an address slot, first holding the address of a small stub that
# loads the DLL and fills the slot, then jumps through it. Every function the
# program calls from these DLLs must be listed in its .def file;
# tests/release/check_delay_imports.cpp checks the result.
set(SELVANE_DELAY_LOADED odbc32 comctl32 shell32 ole32 advapi32 netapi32)
set(SELVANE_DELAY_DEFS)
foreach(dll ${SELVANE_DELAY_LOADED})
  list(APPEND SELVANE_DELAY_DEFS ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
endforeach()
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/delayload)

# selvane_delay_load(TARGET [UNROOTED])
# UNROOTED leaves out the stub roots below, to show that the release check
# catches the fault they prevent.
function(selvane_delay_load target)
  string(REPLACE "-gcc-posix" "-dlltool" dlltool "${CMAKE_C_COMPILER}")
  string(REPLACE "-gcc" "-dlltool" dlltool "${dlltool}")
  set(libraries)
  set(stubs)
  foreach(dll ${SELVANE_DELAY_LOADED})
    set(library ${CMAKE_BINARY_DIR}/delayload/lib${dll}-delay.a)
    set(definitions ${CMAKE_SOURCE_DIR}/cmake/delayload/${dll}.def)
    file(STRINGS ${definitions} exports REGEX "^[A-Za-z_][A-Za-z0-9_]*@[0-9]+$")
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      # 64-bit names carry no stdcall decoration.
      file(READ ${definitions} text)
      string(REGEX REPLACE "@[0-9]+" "" text "${text}")
      set(definitions ${CMAKE_BINARY_DIR}/delayload/${dll}.def)
      file(WRITE ${definitions} "${text}")
      list(TRANSFORM exports REPLACE "@[0-9]+$" "")
      set(kill_at "")
    else()
      list(TRANSFORM exports PREPEND "_")
      set(kill_at --kill-at)  # stdcall names decorated in the library, bare in the DLL
    endif()
    list(APPEND stubs ${exports})
    if(NOT TARGET ${dll}-delay)
      add_custom_command(OUTPUT ${library}
        COMMAND ${dlltool} --input-def ${definitions} --output-delaylib ${library} --dllname ${dll}.dll ${kill_at}
        DEPENDS ${definitions} VERBATIM)
      add_custom_target(${dll}-delay DEPENDS ${library})
    endif()
    add_dependencies(${target} ${dll}-delay)
    list(APPEND libraries ${library})
  endforeach()
  # Functions that the headers declare dllimport (shell32's, ole32's) are
  # called through their slot, never through their stub. Nothing then refers
  # to the stub but the slot's own initial value, and on i686 ld's section
  # garbage collection drops the stub and leaves the slot 0: the first call
  # jumps to address 0. Each stub is made a root of the link; a .def entry
  # with no stub also fails the link.
  if(NOT "UNROOTED" IN_LIST ARGN)
    list(TRANSFORM stubs PREPEND "LINKER:--require-defined=")
    target_link_options(${target} PRIVATE ${stubs})
  endif()
  # After the libraries that call into them: the link resolves left to right.
  target_link_libraries(${target} PRIVATE selvane_win selvane_core ${libraries})
endfunction()
