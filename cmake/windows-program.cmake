# The Windows program: its window code as a library (the tests drive it in
# their own process too) and a thin executable around it.

add_library(selvane_win STATIC
  app/frm_init_win.cpp
  app/records_win.cpp
  platform/browse_folder_win.cpp
  platform/dpi_win.cpp
  platform/event_log_win.cpp
  platform/file_identity_win.cpp
  platform/file_security_win.cpp
  platform/parent_console_win.cpp
  platform/program_arguments_win.cpp
  platform/program_path_win.cpp
  platform/registry_win.cpp
  platform/single_instance_win.cpp
  platform/system_functions_win.cpp
  platform/system_menu_win.cpp
  platform/window_class_win.cpp
  setup/setup_platform_win.cpp
)
# comctl32, odbc32, shell32, ole32, advapi32 and netapi32 come from each program's link
# (delay-loaded in the release).
target_link_libraries(selvane_win PUBLIC selvane_core user32 gdi32 kernel32 PRIVATE selvane_no_exceptions)

include(${CMAKE_SOURCE_DIR}/cmake/delay-load.cmake)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${CMAKE_BINARY_DIR}/generated/version.h @ONLY)
# The event log's texts: a message table, and the identifiers the program reports.
string(REPLACE "windres" "windmc" SELVANE_WINDMC "${CMAKE_RC_COMPILER}")
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/generated/events.h ${CMAKE_BINARY_DIR}/generated/MSG00411.bin
  COMMAND ${SELVANE_WINDMC} -C 65001 -U -h ${CMAKE_BINARY_DIR}/generated -r ${CMAKE_BINARY_DIR}/generated
          ${CMAKE_SOURCE_DIR}/resources/events.mc
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/events.mc VERBATIM)
add_custom_target(selvane_events DEPENDS ${CMAKE_BINARY_DIR}/generated/events.h ${CMAKE_BINARY_DIR}/generated/MSG00411.bin)
add_dependencies(selvane_win selvane_events)

set(SELVANE_RESOURCES ${CMAKE_SOURCE_DIR}/resources/selvane.rc)
target_include_directories(selvane_win PUBLIC ${CMAKE_BINARY_DIR}/generated)
set_source_files_properties(${SELVANE_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/selvane.ico;${CMAKE_SOURCE_DIR}/resources/selvane.manifest;${CMAKE_SOURCE_DIR}/resources/resource_ids.h;${CMAKE_BINARY_DIR}/generated/MSG00411.bin")

add_executable(selvane-init WIN32 app/main_win.cpp app/library_failures.cpp ${SELVANE_RESOURCES})
target_link_libraries(selvane-init PRIVATE selvane_win selvane_no_exceptions)
selvane_delay_load(selvane-init)
# A single file that needs nothing but Windows' own DLLs.
target_link_options(selvane-init PRIVATE -municode -static -static-libgcc -static-libstdc++)
set_target_properties(selvane-init PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# Its checksum beside it, for whoever copies it to a server.
add_custom_command(TARGET selvane-init POST_BUILD
  COMMAND sha256sum selvane-init.exe > selvane-init.exe.sha256
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin VERBATIM)

# The release without the roots that keep its delay-load stubs: the release
# check shows on it that it catches the dropped stubs (the i686 link is the
# one that drops them).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_executable(selvane-init-unrooted WIN32 app/main_win.cpp app/library_failures.cpp ${SELVANE_RESOURCES})
  target_link_libraries(selvane-init-unrooted PRIVATE selvane_win selvane_no_exceptions)
  selvane_delay_load(selvane-init-unrooted UNROOTED)
  target_link_options(selvane-init-unrooted PRIVATE -municode -static -static-libgcc -static-libstdc++)
  set_target_properties(selvane-init-unrooted PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/checks)
endif()

# The same program without its DLL hardening (plain imports, no search
# restriction): the planting test shows on it that it catches the weakness,
# for the 64-bit build and for the release under emulation.
add_executable(selvane-init-unhardened WIN32 app/main_win.cpp app/library_failures.cpp ${SELVANE_RESOURCES})
target_compile_definitions(selvane-init-unhardened PRIVATE SELVANE_NO_DLL_HARDENING)
target_link_libraries(selvane-init-unhardened PRIVATE selvane_win selvane_core selvane_no_exceptions odbc32 comctl32 shell32 ole32 advapi32 netapi32)
target_link_options(selvane-init-unhardened PRIVATE -municode -static -static-libgcc -static-libstdc++)
set_target_properties(selvane-init-unhardened PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/stand-ins)

# The program with a folder browser that fails (a link seam: the test file
# defines BrowseForFolder, so the library's is never linked in), for the
# test of an unexpected failure in a handler.
if(SELVANE_WINDOWS_TESTS)
  add_executable(selvane-init-failing-browse WIN32 app/main_win.cpp app/library_failures.cpp
    tests/stand-ins/failing_browse_win.cpp ${SELVANE_RESOURCES})
  target_link_libraries(selvane-init-failing-browse PRIVATE selvane_win selvane_no_exceptions)
  selvane_delay_load(selvane-init-failing-browse)
  target_link_options(selvane-init-failing-browse PRIVATE -municode -static -static-libgcc -static-libstdc++)
  set_target_properties(selvane-init-failing-browse PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin/stand-ins)
endif()
