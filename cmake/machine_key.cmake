# The machine key the installer records: "Software\Calimor\VostrelSaver<version>" (the
# project's version, as the program names it), value "Path", the install folder. The program finds its machine root at etc/vostrel beside its executable or
# one folder above it, so:
#   - the build tree gets a key at configure time naming the build's data folder, and
#     build/vostrel runs without installing;
#   - `cmake --install` (any --prefix, DESTDIR honoured) writes <prefix>/etc/vostrel/... naming
#     <prefix>/share/vostrel, where the data folder is installed; /etc/vostrel/... for /usr;
#   - the `uninstall` target removes what install_manifest.txt lists, this key included.
include(${CMAKE_CURRENT_LIST_DIR}/machine_key_file.cmake)

set(VOSTREL_MACHINE_KEY_DIR etc/vostrel/Software/Calimor)
set(VOSTREL_INSTALL_KEY_NAME VostrelSaver${PROJECT_VERSION})
vostrel_write_machine_key(
    ${PROJECT_BINARY_DIR}/${VOSTREL_MACHINE_KEY_DIR}/${VOSTREL_INSTALL_KEY_NAME}.reg
    ${VOSTREL_DATA_DIR} ${VOSTREL_INSTALL_KEY_NAME})

# The /usr prefix keeps its configuration in /etc (the Debian package's layout).
install(CODE "
    include(\"${CMAKE_CURRENT_LIST_DIR}/machine_key_file.cmake\")
    set(key_file \"${PROJECT_BINARY_DIR}/install-machine-key/${VOSTREL_INSTALL_KEY_NAME}.reg\")
    vostrel_write_machine_key(\"\${key_file}\" \"\${CMAKE_INSTALL_PREFIX}/share/vostrel\"
                              ${VOSTREL_INSTALL_KEY_NAME})
    set(config_root \"\${CMAKE_INSTALL_PREFIX}\")
    if(config_root STREQUAL \"/usr\")
        set(config_root \"\")
    endif()
    file(INSTALL DESTINATION \"\${config_root}/${VOSTREL_MACHINE_KEY_DIR}\"
         TYPE FILE FILES \"\${key_file}\")
")

add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${PROJECT_BINARY_DIR}/install_manifest.txt
            -DFOLDERS_BEFORE=${VOSTREL_FOLDERS_BEFORE}
            -P ${CMAKE_CURRENT_LIST_DIR}/uninstall.cmake
    COMMENT "Removing the files of the last install")
