# The desktop's files and the Debian package.
#
# `cmake --install` puts, below the prefix: the settings entry in share/applications, the
# hack's entries for the screen-saver hosts (share/xscreensaver/config for XScreenSaver,
# share/applications/screensavers for the MATE and Xfce savers), the hack in
# libexec/xscreensaver (a link to bin/vostrel-hack, so that it finds the data as bin/ does),
# the icons in the hicolor theme, the manual page and the copyright file. bin/ also gets
# vostrel-xscreensaver-setup, which selects the hack in a user's ~/.xscreensaver; it is made in
# the build tree too, beside the hack it names, with the label and arguments of the hack's entry.
#
# `cmake --build build --target package` makes build/vostrel_<version>_<arch>.deb for the
# /usr prefix with CPack; its machine key is the one conffile, in /etc/vostrel.
set(VOSTREL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(VOSTREL_STAGED_DIR ${PROJECT_BINARY_DIR}/packaging)
set(VOSTREL_ICON_SIZES 16 32 48 64 128 256)

# Debian wants manual pages and changelogs compressed with gzip -9n (no name, no time stamp),
# so two builds give the same bytes.
function(vostrel_gzip source target)
    add_custom_command(OUTPUT ${target}
        COMMAND gzip -9nc ${source} > ${target}
        DEPENDS ${source} VERBATIM)
endfunction()
file(MAKE_DIRECTORY ${VOSTREL_STAGED_DIR})

set(VOSTREL_HACK_ENTRY ${VOSTREL_PACKAGING_DIR}/vostrel-hack.xml)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${VOSTREL_HACK_ENTRY})
file(READ ${VOSTREL_HACK_ENTRY} hack_entry)
string(REGEX MATCH "<screensaver name=\"([^\"]+)\" _label=\"([^\"]+)\"" found "${hack_entry}")
set(VOSTREL_HACK_NAME ${CMAKE_MATCH_1})
set(VOSTREL_HACK_LABEL ${CMAKE_MATCH_2})
string(REGEX MATCH "<command arg=\"([^\"]+)\"" found "${hack_entry}")
set(VOSTREL_HACK_ARGS ${CMAKE_MATCH_1})
configure_file(${VOSTREL_PACKAGING_DIR}/vostrel-xscreensaver-setup.in
               ${PROJECT_BINARY_DIR}/vostrel-xscreensaver-setup @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
install(PROGRAMS ${PROJECT_BINARY_DIR}/vostrel-xscreensaver-setup DESTINATION bin)
vostrel_gzip(${VOSTREL_PACKAGING_DIR}/vostrel.6 ${VOSTREL_STAGED_DIR}/vostrel.6.gz)
vostrel_gzip(${VOSTREL_PACKAGING_DIR}/changelog ${VOSTREL_STAGED_DIR}/changelog.gz)
add_custom_target(vostrel_packaging ALL
    DEPENDS ${VOSTREL_STAGED_DIR}/vostrel.6.gz ${VOSTREL_STAGED_DIR}/changelog.gz)

# Relative links, so that a tree unpacked anywhere stays whole.
file(CREATE_LINK vostrel.6.gz ${VOSTREL_STAGED_DIR}/vostrel-hack.6.gz SYMBOLIC)
file(CREATE_LINK vostrel.6.gz ${VOSTREL_STAGED_DIR}/vostrel-render.6.gz SYMBOLIC)
file(CREATE_LINK vostrel.6.gz ${VOSTREL_STAGED_DIR}/vostrel-xscreensaver-setup.6.gz SYMBOLIC)
file(CREATE_LINK vostrel.6.gz ${VOSTREL_STAGED_DIR}/vostrel-idle.6.gz SYMBOLIC)
file(CREATE_LINK ../../bin/vostrel-hack ${VOSTREL_STAGED_DIR}/vostrel-hack SYMBOLIC)

install(FILES ${VOSTREL_STAGED_DIR}/vostrel-hack DESTINATION libexec/xscreensaver)
install(FILES ${VOSTREL_PACKAGING_DIR}/vostrel-hack.xml DESTINATION share/xscreensaver/config)
install(FILES ${VOSTREL_PACKAGING_DIR}/vostrel-hack.desktop
        DESTINATION share/applications/screensavers)
install(FILES ${VOSTREL_PACKAGING_DIR}/vostrel-settings.desktop DESTINATION share/applications)
foreach(size IN LISTS VOSTREL_ICON_SIZES)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/vostrel-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME vostrel.png)
endforeach()
install(FILES ${VOSTREL_STAGED_DIR}/vostrel.6.gz ${VOSTREL_STAGED_DIR}/vostrel-hack.6.gz
              ${VOSTREL_STAGED_DIR}/vostrel-render.6.gz
              ${VOSTREL_STAGED_DIR}/vostrel-xscreensaver-setup.6.gz
              ${VOSTREL_STAGED_DIR}/vostrel-idle.6.gz
        DESTINATION share/man/man6)
# The idle watch's systemd user unit, off until a user enables it (vostrel-idle --enable
# writes the autostart entry instead, which every desktop runs).
install(FILES ${VOSTREL_PACKAGING_DIR}/vostrel-idle.service DESTINATION lib/systemd/user)
install(FILES ${VOSTREL_PACKAGING_DIR}/copyright ${VOSTREL_STAGED_DIR}/changelog.gz
        DESTINATION share/doc/vostrel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vostrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "THE VOSTREL TEAM <team@vostrel.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time OpenGL screen saver with a sun and a blast")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "An opening sentence of 3D captions over a drifting blue glow, a burning sun\n"
    "whose rays appear one by one while a countdown runs, a collapse with a white\n"
    "flash, and an endless blast with comets, debris, your own caption and a\n"
    "credits roll, with music and bang sounds. It runs on its own (vostrel /s) or\n"
    "as a hack of XScreenSaver and the MATE and Xfce screen savers.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://vostrel.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | mate-screensaver | xfce4-screensaver")
configure_file(${VOSTREL_PACKAGING_DIR}/conffiles.in ${VOSTREL_STAGED_DIR}/conffiles @ONLY)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${VOSTREL_STAGED_DIR}/conffiles ${VOSTREL_PACKAGING_DIR}/prerm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
include(CPack)
