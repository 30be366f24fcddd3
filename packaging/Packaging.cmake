# Installs the program like a desktop program and packages it for Debian: the program under its
# installed name, its menu entry, icons, AppStream metainfo and manual page, and the documents a
# Debian package carries. `cpack -G DEB` builds the package from these same install rules.
include(GNUInstallDirs)

# The build's program is `settings`, which is far too generic for /usr/bin; installed, it carries
# a name that no other software on a desktop uses.
set(SETTINGS_INSTALLED_NAME kx7140-settings)
# The name the desktop entry, the metainfo and the icon theme know the program by.
set(SETTINGS_APP_ID com.telvar.kx7140_settings)
set(SETTINGS_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

set(SETTINGS_SCREENSHOT_URL "" CACHE STRING
    "Web address (http or https) at which docs/screenshot.png is published; the metainfo \
lists a screenshot only when it is set")
set(SETTINGS_PACKAGE_MAINTAINER
    "Seed f3b08685 maintainers <maintainers@users.noreply.c-seed-f3b08685.example>"
    CACHE STRING "Maintainer named in the Debian package, as 'Name <address>'")

# The package version is the newest entry of the changelog, so that the two cannot disagree.
file(STRINGS ${SETTINGS_PACKAGING_DIR}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^${SETTINGS_INSTALLED_NAME} \\(([^)]+)\\)")
    message(FATAL_ERROR "packaging/changelog: the first line names no version of "
                        "${SETTINGS_INSTALLED_NAME}: '${changelog_head}'")
endif()
set(SETTINGS_PACKAGE_VERSION ${CMAKE_MATCH_1})

# settings_write_metainfo(<output> <screenshot address>): the metainfo, with the screenshot when
# an address is given. AppStream accepts only web addresses for screenshots, not files.
function(settings_write_metainfo output url)
    set(METAINFO_SCREENSHOTS "")
    if(NOT url STREQUAL "")
        if(NOT url MATCHES "^https?://[^ \t\n\"<>]+$")
            message(FATAL_ERROR "The screenshot address must be a web address (http:// or "
                                "https://) without blanks or quotes, not '${url}'")
        endif()
        string(REPLACE "&" "&amp;" url "${url}")
        string(CONCAT METAINFO_SCREENSHOTS
               "  <screenshots>\n"
               "    <screenshot type=\"default\">\n"
               "      <caption>The main window with the help window open</caption>\n"
               "      <image>${url}</image>\n"
               "    </screenshot>\n"
               "  </screenshots>\n")
    endif()
    configure_file(${SETTINGS_PACKAGING_DIR}/${SETTINGS_APP_ID}.metainfo.xml.in ${output} @ONLY)
endfunction()

# Manual pages and the changelog are installed compressed to the maximum and without a time
# stamp, as Debian expects; they are small, so this happens when configuring.
find_program(SETTINGS_GZIP gzip REQUIRED)
function(settings_gzip source output)
    execute_process(COMMAND ${SETTINGS_GZIP} -9 -n -c ${source} OUTPUT_FILE ${output}
                    COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
endfunction()

set(staged ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${staged})
settings_write_metainfo(${staged}/${SETTINGS_APP_ID}.metainfo.xml "${SETTINGS_SCREENSHOT_URL}")
if(SETTINGS_SCREENSHOT_URL STREQUAL "")
    message(STATUS "Metainfo without a screenshot: SETTINGS_SCREENSHOT_URL names no address")
endif()
settings_gzip(${SETTINGS_PACKAGING_DIR}/${SETTINGS_INSTALLED_NAME}.1
              ${staged}/${SETTINGS_INSTALLED_NAME}.1.gz)
settings_gzip(${SETTINGS_PACKAGING_DIR}/changelog ${staged}/changelog.gz)

# The program. install(PROGRAMS) copies it as built, so the run path ($ORIGIN: a driver library
# beside the program is found, then the system's library folders) and the stripping that
# install(TARGETS) would do are applied here; install(TARGETS) cannot rename.
install(PROGRAMS $<TARGET_FILE:settings> DESTINATION ${CMAKE_INSTALL_BINDIR}
        RENAME ${SETTINGS_INSTALLED_NAME})
if(IS_ABSOLUTE ${CMAKE_INSTALL_BINDIR})
    set(bindir ${CMAKE_INSTALL_BINDIR})
else()
    set(bindir "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}")
endif()
install(CODE "
    set(program \"\$ENV{DESTDIR}${bindir}/${SETTINGS_INSTALLED_NAME}\")
    file(RPATH_SET FILE \"\${program}\"
         NEW_RPATH \"$<JOIN:$<TARGET_PROPERTY:settings,INSTALL_RPATH>,:>\")
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                --remove-section=.note \"\${program}\" COMMAND_ERROR_IS_FATAL ANY)
    endif()
")

install(FILES ${SETTINGS_PACKAGING_DIR}/${SETTINGS_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${staged}/${SETTINGS_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${SETTINGS_PACKAGING_DIR}/icons/hicolor
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${SETTINGS_PACKAGING_DIR}/icons/app-icon.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${SETTINGS_APP_ID}.svg)
install(FILES ${staged}/${SETTINGS_INSTALLED_NAME}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${SETTINGS_PACKAGING_DIR}/copyright ${staged}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${SETTINGS_INSTALLED_NAME})

# The Debian package. Its dependencies come from the shared libraries the program links
# (dpkg-shlibdeps); the fonts are only recommended, since the page's texts were laid out for them
# but any font shows them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${SETTINGS_INSTALLED_NAME})
set(CPACK_PACKAGE_VERSION ${SETTINGS_PACKAGE_VERSION})
set(CPACK_PACKAGE_VENDOR Telvar)
set(CPACK_PACKAGE_CONTACT ${SETTINGS_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, fonts-dejavu-extra, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "guide for setting the jumpers of the KX-7140 data-acquisition card\n"
       "A desktop program that guides you, card in hand, through setting the\n"
       "option jumpers of the Telvar KX-7140, a PCI Express card with 24 digital\n"
       "input/output lines and counters. It shows a photograph of the card with\n"
       "glowing circles over its jumpers; pointing at a circle opens a drawing of\n"
       "each three-pin jumper, kept in step with radio buttons and lists.")
# A source package is made from the repository, never from the build folders in it.
set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/out/")
include(CPack)
