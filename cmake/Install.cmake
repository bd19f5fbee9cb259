# Installs Zentaris the way Debian installs a game, and packs it as a Debian package.
#
#   <prefix>/games/zentaris                        launcher: prepares the player's directory
#   <prefix>/libexec/zentaris/zentaris             the game itself
#   <prefix>/share/games/zentaris/{ImgData,Sound}  read-only pictures and sounds
#   <prefix>/share/man/man6/zentaris.6.gz          manual page
#   <prefix>/share/doc/zentaris/{copyright,changelog.gz}
#   <prefix>/share/applications, share/icons/hicolor, share/metainfo   menu entry, icon, AppStream
#
# The font is not installed: the game uses FreeSans.ttf from fonts-freefont-ttf, which the
# launcher links into each player's directory. The game reads everything relative to its working
# directory; the launcher gives each player a working directory of their own under XDG_DATA_HOME
# and finds the installed tree from its own location, so the same files work under any prefix
# and from an unpacked package.

include(GNUInstallDirs)

# Who answers for the package: the one place for the name and address used by the package,
# the AppStream data, the copyright file and the changelog.
set(ZENTARIS_MAINTAINER_NAME "Zentaris developers")
set(ZENTARIS_MAINTAINER_EMAIL "zentaris@example.org")
set(ZENTARIS_MAINTAINER "${ZENTARIS_MAINTAINER_NAME} <${ZENTARIS_MAINTAINER_EMAIL}>")
set(ZENTARIS_RELEASE_DATE 2026-12-07)
set(ZENTARIS_COPYRIGHT_YEAR 2026)

set(ZENTARIS_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(ZENTARIS_PACKAGING_OUT ${PROJECT_BINARY_DIR}/packaging)
set(ZENTARIS_INSTALL_BINDIR games)
set(ZENTARIS_INSTALL_GAMEDIR ${CMAKE_INSTALL_LIBEXECDIR}/zentaris)
set(ZENTARIS_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/zentaris)
set(ZENTARIS_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/zentaris)
set(ZENTARIS_ICON_SIZES 16 22 24 32 48 64 128 256)
# ZENTARIS_FONT_FILE (assets/CMakeLists.txt) is the system's FreeSans.ttf.
get_filename_component(ZENTARIS_FONT_DIR ${ZENTARIS_FONT_FILE} DIRECTORY)

foreach(_dir CMAKE_INSTALL_LIBEXECDIR CMAKE_INSTALL_DATADIR)
    if(IS_ABSOLUTE "${${_dir}}")
        message(FATAL_ERROR "${_dir} must be relative to the prefix: the launcher finds the "
                            "game and its data relative to its own directory")
    endif()
endforeach()

# The changelog's date line, in the form Debian wants (RFC 5322), from the release date.
execute_process(
    COMMAND env LC_ALL=C date -u -R -d "${ZENTARIS_RELEASE_DATE} 12:00"
    OUTPUT_VARIABLE ZENTARIS_RELEASE_DATE_RFC5322 OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE _date_result)
if(NOT _date_result EQUAL 0)
    message(FATAL_ERROR "date could not format ${ZENTARIS_RELEASE_DATE}")
endif()

# The launcher, with the paths from its own directory to the game and to the data.
file(RELATIVE_PATH ZENTARIS_LAUNCHER_TO_GAME
     /prefix/${ZENTARIS_INSTALL_BINDIR} /prefix/${ZENTARIS_INSTALL_GAMEDIR}/zentaris)
file(RELATIVE_PATH ZENTARIS_LAUNCHER_TO_DATA
     /prefix/${ZENTARIS_INSTALL_BINDIR} /prefix/${ZENTARIS_INSTALL_DATADIR})
configure_file(${ZENTARIS_PACKAGING_DIR}/zentaris.sh.in ${ZENTARIS_PACKAGING_OUT}/zentaris @ONLY)
configure_file(${ZENTARIS_PACKAGING_DIR}/de.zentaris.Zentaris.metainfo.xml.in
               ${ZENTARIS_PACKAGING_OUT}/de.zentaris.Zentaris.metainfo.xml @ONLY)
configure_file(${ZENTARIS_PACKAGING_DIR}/copyright.in ${ZENTARIS_PACKAGING_OUT}/copyright @ONLY)
configure_file(${ZENTARIS_PACKAGING_DIR}/changelog.in ${ZENTARIS_PACKAGING_OUT}/changelog @ONLY)
configure_file(${ZENTARIS_PACKAGING_DIR}/zentaris.6.in ${ZENTARIS_PACKAGING_OUT}/zentaris.6 @ONLY)

# The manual page and the changelog are installed compressed the way Debian wants them:
# gzip -9 without name and time stamp, so the same sources give the same bytes.
find_program(GZIP gzip REQUIRED)
set(_compressed)
foreach(_file zentaris.6 changelog)
    add_custom_command(
        OUTPUT ${ZENTARIS_PACKAGING_OUT}/${_file}.gz
        COMMAND ${GZIP} -9nkf ${ZENTARIS_PACKAGING_OUT}/${_file}
        DEPENDS ${ZENTARIS_PACKAGING_OUT}/${_file}
        COMMENT "Compressing ${_file}"
        VERBATIM)
    list(APPEND _compressed ${ZENTARIS_PACKAGING_OUT}/${_file}.gz)
endforeach()
add_custom_target(zentaris_docs ALL DEPENDS ${_compressed})

# Menu icons: the SVG apple drawn at the usual hicolor sizes.
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert not found: install librsvg2-bin (scripts/install-deps.sh)")
endif()
set(_icon_svg ${ZENTARIS_PACKAGING_DIR}/zentaris.svg)
set(_icon_root ${ZENTARIS_PACKAGING_OUT}/icons/hicolor)
set(_icon_outputs)
foreach(_size IN LISTS ZENTARIS_ICON_SIZES)
    set(_png ${_icon_root}/${_size}x${_size}/apps/zentaris.png)
    add_custom_command(
        OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_icon_root}/${_size}x${_size}/apps
        COMMAND ${RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_icon_svg}
        DEPENDS ${_icon_svg}
        COMMENT "Drawing the ${_size}x${_size} menu icon"
        VERBATIM)
    list(APPEND _icon_outputs ${_png})
endforeach()
add_custom_target(zentaris_icons ALL DEPENDS ${_icon_outputs})

install(TARGETS zentaris RUNTIME DESTINATION ${ZENTARIS_INSTALL_GAMEDIR})
install(PROGRAMS ${ZENTARIS_PACKAGING_OUT}/zentaris DESTINATION ${ZENTARIS_INSTALL_BINDIR})
install(DIRECTORY ${ZENTARIS_RUNTIME_DIR}/ImgData ${ZENTARIS_RUNTIME_DIR}/Sound
        DESTINATION ${ZENTARIS_INSTALL_DATADIR})
install(FILES ${ZENTARIS_PACKAGING_OUT}/zentaris.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${ZENTARIS_PACKAGING_OUT}/copyright ${ZENTARIS_PACKAGING_OUT}/changelog.gz
        DESTINATION ${ZENTARIS_INSTALL_DOCDIR})
install(FILES ${ZENTARIS_PACKAGING_DIR}/zentaris.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ZENTARIS_PACKAGING_OUT}/de.zentaris.Zentaris.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${_icon_root} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${_icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Debian package: `cpack -G DEB` in the build directory, after a full build.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentaris)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${ZENTARIS_MAINTAINER_NAME}")
set(CPACK_PACKAGE_CONTACT "${ZENTARIS_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZENTARIS_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "multiplication-table arcade game for children (German)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Apples carrying tasks such as 7 x 8 or 56 : 8 fall from a tree. The player\n"
    "types the answer, and every apple with that answer is solved and struck by\n"
    "the witch's lightning; apples that land on the two horses cost lives. The\n"
    "best scores are kept for each player. All texts of the game are German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries the game is linked with, as dpkg-shlibdeps finds them (without dpkg-dev, the
# runtime packages of Debian 12 named by hand), and the font the launcher links in.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-freefont-ttf")
# The menu entry "Lernbericht" opens the learning report with xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libsdl2-2.0-0, libsdl2-mixer-2.0-0, "
           "libsdl2-ttf-2.0-0, libsqlite3-0, libstdc++6, libc6")
endif()
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")
include(CPack)
