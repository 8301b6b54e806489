# Writes DIR/odbcinst.ini registering Debian's mdbtools ODBC driver under the
# name of the Access driver, so the program's own connection string reaches
# it through unixODBC (natively, and through Wine's odbc32 under Wine).
# 64-bit unixODBC reads Driver64 first; the 32-bit one, which the 32-bit
# release reaches under Wine, reads Driver.
function(selvane_write_odbcinst dir)
  find_file(SELVANE_MDBTOOLS_DRIVER libmdbodbc.so
    PATHS /usr/lib/x86_64-linux-gnu/odbc /usr/lib/odbc
    REQUIRED NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  find_file(SELVANE_MDBTOOLS_DRIVER_I386 libmdbodbc.so
    PATHS /usr/lib/i386-linux-gnu/odbc
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  set(driver32 ${SELVANE_MDBTOOLS_DRIVER})
  if(SELVANE_MDBTOOLS_DRIVER_I386)
    set(driver32 ${SELVANE_MDBTOOLS_DRIVER_I386})
  endif()
  file(WRITE ${dir}/odbcinst.ini
    "[Microsoft Access Driver (*.mdb)]\nDescription = mdbtools\nDriver = ${driver32}\nDriver64 = ${SELVANE_MDBTOOLS_DRIVER}\n")
endfunction()
