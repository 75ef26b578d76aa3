# The folders that were there before the first install, so that the `uninstall` target removes
# only folders the install made (when they are left empty) and never an empty one of the
# system's own, such as /usr/local/bin. Included before any other install rule: install rules
# run in the order they are declared, so this one sees the tree as it was.
#
# The record lists every folder below the prefix (and /etc/vostrel for the /usr prefix, whose
# configuration goes to /etc) and every folder above them; a second install keeps the first
# record, which the uninstall removes with the files.
set(VOSTREL_FOLDERS_BEFORE ${PROJECT_BINARY_DIR}/install_folders_before.txt)
install(CODE "
    set(record \"${VOSTREL_FOLDERS_BEFORE}\")
    if(NOT EXISTS \"\${record}\")
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
        file(WRITE \"\${record}\" \"\${text}\\n\")
    endif()
")
