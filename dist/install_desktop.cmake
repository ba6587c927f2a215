# Installs the desktop entry and the icon; included by `cmake --install`
# after MORROW_SOURCE_DIR, MORROW_BINARY_DIR, MORROW_BINDIR and MORROW_DATADIR
# are set. Depends on data/Icon.png of the build.

set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")

# The desktop entry's Exec names bin/morrow. A path with characters other than
# plain ones is quoted, with the desktop entry's own escapes inside the quotes
# (a prefix such as "/opt/my games" must still start the game).
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

# The icon goes into the icon theme's folder of its real size (read from the
# PNG header): a picture in a folder of another size is not found by desktops.
set(icon "${MORROW_BINARY_DIR}/data/Icon.png")
if(NOT EXISTS "${icon}")
    message(FATAL_ERROR "The icon ${icon} is missing: build the data folder first")
endif()
file(READ "${icon}" header OFFSET 16 LIMIT 8 HEX)
string(SUBSTRING "${header}" 0 8 width)
string(SUBSTRING "${header}" 8 8 height)
math(EXPR width "0x${width}")
math(EXPR height "0x${height}")
file(INSTALL "${icon}" DESTINATION "${prefix}/${MORROW_DATADIR}/icons/hicolor/${width}x${height}/apps"
     RENAME morrow.png)
