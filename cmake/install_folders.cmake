# The folders that were there before the first install, so that the `uninstall` target removes
# only folders the install made (when they are left empty) and never an empty one of the
# system's own, such as /usr/local/bin. Included before any other install rule: install rules
# run in the order they are declared, so this one sees the tree as it was.
#
# The record lists every folder below the prefix (and /etc/vostrel for the /usr prefix, whose
# configuration goes to /etc) and every folder above them. A second install to the same place
# keeps the first record, which the uninstall removes with the files; an install elsewhere (the
# package's staging folder, say) starts a new one. The record's first line names the place.
set(VOSTREL_FOLDERS_BEFORE ${PROJECT_BINARY_DIR}/install_folders_before.txt)
install(CODE "
    set(record \"${VOSTREL_FOLDERS_BEFORE}\")
    set(place \"# installed to \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(recorded \"\")
    if(EXISTS \"\${record}\")
        file(STRINGS \"\${record}\" recorded LIMIT_COUNT 1)
    endif()
    if(NOT recorded STREQUAL place)
        set(roots \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
        if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
            list(APPEND roots \"\$ENV{DESTDIR}/etc/vostrel\")
        endif()
        set(folders \"\")
        foreach(root IN LISTS roots)
            set(above \"\${root}\")
            while(NOT above STREQUAL \"/\" AND NOT above STREQUAL \"\")
                if(IS_DIRECTORY \"\${above}\")
                    list(APPEND folders \"\${above}\")
                endif()
                get_filename_component(above \"\${above}\" DIRECTORY)
            endwhile()
            if(IS_DIRECTORY \"\${root}\")
                file(GLOB_RECURSE below LIST_DIRECTORIES true \"\${root}/*\")
                foreach(path IN LISTS below)
                    if(IS_DIRECTORY \"\${path}\" AND NOT IS_SYMLINK \"\${path}\")
                        list(APPEND folders \"\${path}\")
                    endif()
                endforeach()
            endif()
        endforeach()
        list(JOIN folders \"\\n\" text)
        file(WRITE \"\${record}\" \"\${place}\\n\${text}\\n\")
    endif()
")
