# Everything that leaves the build folder: the version the game reports, the
# desktop icons, the install rules of `cmake --install` (GNU and freedesktop
# layouts), the Debian package of `cpack -G DEB`, and the test of both.

include(GNUInstallDirs)

# One reverse-DNS name for the desktop entry, the icons and the AppStream file.
set(KORDAVAN_APP_ID io.github.kordavan.Kordavan)
# The day this version was released: the AppStream release, the man page and
# the top entry of packaging/changelog carry it (the install test holds them
# together).
set(KORDAVAN_RELEASE_DATE 2026-12-08)
set(KORDAVAN_MAINTAINER "Kordavan maintainers <maintainers@users.noreply.c-seed-293569fd.example>"
    CACHE STRING "Maintainer named in the Debian package")

# ------------------------------------------------------------------ version
# `kordavan --version` reports the project() version through this header.
configure_file(${PROJECT_SOURCE_DIR}/shell/version.h.in ${PROJECT_BINARY_DIR}/generated/shell/version.h
    @ONLY)
target_include_directories(kordavan-shell PRIVATE ${PROJECT_BINARY_DIR}/generated)

# The browser build is served as a page, not installed, and the Windows
# build is packed by cmake/windows.cmake: they need the version and nothing
# below.
if(EMSCRIPTEN OR WIN32)
    return()
endif()

# ------------------------------------------------------------------ icons
# Drawn by our own generator at every size the hicolor theme asks for.
set(KORDAVAN_ICON_SIZES 16 32 48 64 128 256)
set(KORDAVAN_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
set(icon_files "")
foreach(size ${KORDAVAN_ICON_SIZES})
    list(APPEND icon_files ${KORDAVAN_ICON_DIR}/icon-${size}.png)
endforeach()
add_custom_command(
    OUTPUT ${icon_files}
    COMMAND kordavan-assets --icons ${KORDAVAN_ICON_DIR}
    DEPENDS kordavan-assets
    COMMENT "Drawing the desktop icons"
    VERBATIM)
add_custom_target(kordavan-icons ALL DEPENDS ${icon_files})

# ------------------------------------------------------------------ text files
set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
configure_file(${packaging}/kordavan.desktop.in ${generated}/${KORDAVAN_APP_ID}.desktop @ONLY)
configure_file(${packaging}/kordavan.metainfo.xml.in ${generated}/${KORDAVAN_APP_ID}.metainfo.xml
    @ONLY)
# The manual page's lists of options, settings and controls come from the
# game's own tables (tools/manual), put in when the game is built.
configure_file(${packaging}/kordavan.6.in ${generated}/kordavan.6.configured @ONLY)
add_custom_command(
    OUTPUT ${generated}/kordavan.6
    COMMAND kordavan-manual ${generated}/kordavan.6.configured ${generated}/kordavan.6
    DEPENDS kordavan-manual ${generated}/kordavan.6.configured
    COMMENT "Writing the manual page's lists from the settings table"
    VERBATIM)
add_custom_target(kordavan-manpage ALL DEPENDS ${generated}/kordavan.6)

# ------------------------------------------------------------------ install
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian keeps games in /usr/games; any other prefix gets the usual bin/. The
# prefix is only known when installing (cmake --install --prefix, or CPack),
# so the choice is made then.
install(CODE "
    set(KORDAVAN_GAMES_DIR \"${CMAKE_INSTALL_BINDIR}\")
    if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
        set(KORDAVAN_GAMES_DIR games)
    endif()")
install(TARGETS kordavan RUNTIME DESTINATION \${KORDAVAN_GAMES_DIR})

set(datadir ${CMAKE_INSTALL_DATAROOTDIR})
install(FILES ${generated}/${KORDAVAN_APP_ID}.desktop DESTINATION ${datadir}/applications)
install(FILES ${generated}/${KORDAVAN_APP_ID}.metainfo.xml DESTINATION ${datadir}/metainfo)
foreach(size ${KORDAVAN_ICON_SIZES})
    install(FILES ${KORDAVAN_ICON_DIR}/icon-${size}.png
        DESTINATION ${datadir}/icons/hicolor/${size}x${size}/apps
        RENAME ${KORDAVAN_APP_ID}.png)
endforeach()
install(FILES ${generated}/kordavan.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${packaging}/copyright ${packaging}/changelog
    DESTINATION ${datadir}/doc/kordavan)
# The README's pages and pictures, so that its links lead somewhere once
# installed.
file(GLOB doc_pages ${PROJECT_SOURCE_DIR}/docs/*.md ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${doc_pages} DESTINATION ${datadir}/doc/kordavan/docs)

# ------------------------------------------------------------------ Debian package
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kordavan)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KORDAVAN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "night-time helicopter rescue game")
# Read here rather than named as CPACK_PACKAGE_DESCRIPTION_FILE, which CPack
# would escape as XML (an apostrophe becomes &apos;).
file(READ ${packaging}/description.txt CPACK_DEBIAN_PACKAGE_DESCRIPTION)
# Installing with DESTDIR lets the install rules see the real prefix, /usr,
# and put the game in /usr/games.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Man pages and changelogs are gzipped in a Debian package, as dh_compress does.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_compress.cmake)
include(CPack)

# ------------------------------------------------------------------ test
if(KORDAVAN_TESTS)
    # The settings table's test reads the page as built.
    add_dependencies(kordavan-tests kordavan-manpage)
    target_compile_definitions(kordavan-tests PRIVATE
        KORDAVAN_MAN_PAGE="${generated}/kordavan.6")
    add_test(NAME e2e.install
        COMMAND bash ${PROJECT_SOURCE_DIR}/tests/install/install.sh ${PROJECT_BINARY_DIR}
                ${PROJECT_VERSION} ${KORDAVAN_APP_ID} ${KORDAVAN_RELEASE_DATE})
    set_tests_properties(e2e.install PROPERTIES TIMEOUT 600 RUN_SERIAL TRUE
        ENVIRONMENT "KORDAVAN_CMAKE=${CMAKE_COMMAND};KORDAVAN_CPACK=${CMAKE_CPACK_COMMAND}")
endif()
