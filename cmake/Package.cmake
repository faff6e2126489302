# `cpack -G DEB` in the build folder makes zoredit_<version>_<arch>.deb from the install rules.
# The libraries it needs come from dpkg-shlibdeps; the fonts that stand in for Arial are named
# here because no binary links them; so are the window-system plugins, which Qt loads at run time.
set(CPACK_PACKAGE_NAME zoredit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The ZorEdit developers")
set(CPACK_PACKAGE_CONTACT "The ZorEdit developers <dev@zoredit.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the message programs of an LED panel")
set(CPACK_PACKAGE_DESCRIPTION
    "ZorEdit writes the message programs of a Zor LED panel: text mixed with
command symbols for transitions, effects, fonts, blinking, colours and pauses.
It runs a program on a simulated panel, sends it to the panel over a serial
port, and sends the panel its two counters. The zor command-line tool does the
same without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zoredit.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window-system plugins are loaded at run time, so dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
# Qt's own catalogues translate the standard dialogs' buttons; the editor works without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
