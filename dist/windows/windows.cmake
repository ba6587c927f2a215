# The Windows program: a GUI program (no console window), the icon and the
# version information as resources, the C and C++ runtimes and POSIX threads
# linked in so that only SDL2, SDL2_mixer and GLEW ship beside it. Included by
# the top-level CMakeLists.txt in a Windows build; needs ImageMagick.
enable_language(RC)
find_program(MORROW_CONVERT convert REQUIRED)
set(MORROW_ICONS_DIR ${CMAKE_SOURCE_DIR}/build/icons/hicolor
    CACHE PATH "The desktop icons made by the asset build")
set(win ${CMAKE_SOURCE_DIR}/dist/windows)
set(icons ${MORROW_ICONS_DIR})
set(MORROW_ICO ${CMAKE_BINARY_DIR}/morrow.ico)
# The three drawn sizes, and the small ones Explorer asks for scaled from 64.
add_custom_command(
    OUTPUT ${MORROW_ICO}
    COMMAND ${MORROW_CONVERT} ${icons}/256x256/apps/morrow.png ${icons}/128x128/apps/morrow.png
            ${icons}/64x64/apps/morrow.png
            ( ${icons}/64x64/apps/morrow.png -resize 48x48 )
            ( ${icons}/64x64/apps/morrow.png -resize 32x32 )
            ( ${icons}/64x64/apps/morrow.png -resize 16x16 ) ${MORROW_ICO}
    DEPENDS ${icons}/256x256/apps/morrow.png ${icons}/128x128/apps/morrow.png
            ${icons}/64x64/apps/morrow.png
    VERBATIM)
set(MORROW_MANIFEST ${win}/morrow.manifest)
configure_file(${win}/morrow.rc.in ${CMAKE_BINARY_DIR}/morrow.rc @ONLY)
target_sources(morrow PRIVATE ${CMAKE_BINARY_DIR}/morrow.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/morrow.rc PROPERTIES
                            OBJECT_DEPENDS "${MORROW_ICO};${MORROW_MANIFEST}")
# -static: every library named by -l (the runtimes, and Windows' own import
# libraries) is taken from its archive; SDL2, SDL2_mixer and GLEW are given
# as their import libraries and stay DLLs.
target_link_options(morrow PRIVATE -mwindows -static)
