# Everything installed besides the program and the data folder, and the
# Debian package: the desktop entry (its Exec names the installed program),
# the manual page, the AppStream metainfo, the copyright and changelog, and
# the CPack settings of `cpack -G DEB`. Included by the top-level
# CMakeLists.txt after MORROW_BIN_DIR is set; needs gzip.

set(MORROW_APP_ID org.morrowgame.morrow)
set(dist ${CMAKE_SOURCE_DIR}/dist)
set(made ${CMAKE_BINARY_DIR}/dist)

# The desktop entry is written at install time: its Exec is the installed
# program of whatever prefix the install goes to.
install(CODE "
    set(MORROW_SOURCE_DIR \"${CMAKE_SOURCE_DIR}\")
    set(MORROW_BINDIR \"${MORROW_BIN_DIR}\")
    set(MORROW_DATADIR \"${CMAKE_INSTALL_DATADIR}\")
")
install(SCRIPT ${dist}/install_desktop.cmake)

# Manual page and changelog, compressed as Debian wants them (best
# compression, no time stamp, so that the package is the same on every build).
set(compressed)
foreach(pair morrow.6:morrow.6.gz changelog:changelog.gz)
    string(REPLACE ":" ";" pair ${pair})
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT ${made}/${target}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${made}
                       COMMAND sh -c "gzip -9n -c '${dist}/${source}' > '${made}/${target}'"
                       DEPENDS ${dist}/${source} VERBATIM)
    list(APPEND compressed ${made}/${target})
endforeach()
add_custom_target(morrow_dist ALL DEPENDS ${compressed})

install(FILES ${made}/morrow.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${dist}/${MORROW_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${dist}/copyright ${made}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/morrow)

# `cpack -G DEB` in the build folder: morrow_<version>_amd64.deb for /usr,
# stripped, its dependencies read from the program's shared libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME morrow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "Morrow Studio <studio@morrowgame.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lane-battle strategy game of four medieval houses")
set(CPACK_PACKAGE_DESCRIPTION "Lead one of four houses (Noblemen, Workers, Wisemen, Warriors), each with a
bonus of its own, through three battles in a row. Two castles face each
other across a field with two lanes: buy knights, spearmen and horsemen,
send a thief for gold, upgrade your troops and bring up a catapult while
the enemy commander sends waves of his own.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_THREADS 2)
# cpack and `make install` take what is built (the program, the data folder,
# the files above) rather than building every test and benchmark first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
