# Writes the desktop entry; run by `cmake --install` (and by cpack) after
# MORROW_SOURCE_DIR, MORROW_BINDIR and MORROW_DATADIR are set.

set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# The desktop entry's Exec names the installed program. A path with characters
# other than plain ones is quoted, with the desktop entry's own escapes inside
# the quotes (a prefix such as "/opt/my games" must still start the game).
set(exec "${CMAKE_INSTALL_PREFIX}/${MORROW_BINDIR}/morrow")
if(NOT exec MATCHES "^[A-Za-z0-9/._+-]+$")
    string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\\\"" exec "${exec}")
    string(REPLACE "`" "\\\\`" exec "${exec}")
    string(REPLACE "$" "\\\\$" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
file(READ "${MORROW_SOURCE_DIR}/dist/morrow.desktop.in" desktop)
string(REPLACE "@MORROW_EXEC@" "${exec}" desktop "${desktop}")
file(WRITE "${prefix}/${MORROW_DATADIR}/applications/morrow.desktop" "${desktop}")
