# Writes DIR/odbcinst.ini registering Debian's mdbtools ODBC driver under the
# name of the Access driver, so the program's own connection string reaches
# it through unixODBC (natively, and through Wine's odbc32 under wine64).
function(selvane_write_odbcinst dir)
  find_file(SELVANE_MDBTOOLS_DRIVER libmdbodbc.so
    PATHS /usr/lib/x86_64-linux-gnu/odbc /usr/lib/odbc
    REQUIRED NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  file(WRITE ${dir}/odbcinst.ini
    "[Microsoft Access Driver (*.mdb)]\nDescription = mdbtools\nDriver = ${SELVANE_MDBTOOLS_DRIVER}\n")
endfunction()
