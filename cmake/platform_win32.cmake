# The Windows backend's libraries: the system's own (OpenGL 1.1 and GLU, GDI, the sound and
# dialog services, the shell, the registry) and the libraries cross-built from Debian's sources
# by scripts/build-windows-libs.sh into VOSTREL_WIN_DEPS (see cmake/toolchain-mingw64.cmake).
# Everything links statically: the saver is one file that runs where it is put.
if(NOT VOSTREL_WIN_DEPS)
    message(FATAL_ERROR "VOSTREL_WIN_DEPS must name the prefix that scripts/build-windows-libs.sh "
        "filled; `make windows` builds it and passes it")
endif()

# Those that link others come first, as a static link resolves left to right: libpng and
# FreeType take zlib.
set(VOSTREL_WIN_STATIC_LIBRARIES openmpt mpg123 freetype png16 jpeg z)
set(VOSTREL_WIN_STATIC_PATHS)
foreach(name ${VOSTREL_WIN_STATIC_LIBRARIES})
    find_library(VOSTREL_WIN_LIBRARY_${name} ${name} REQUIRED NO_DEFAULT_PATH
        PATHS ${VOSTREL_WIN_DEPS}/lib NO_CMAKE_FIND_ROOT_PATH)
    list(APPEND VOSTREL_WIN_STATIC_PATHS ${VOSTREL_WIN_LIBRARY_${name}})
endforeach()

# The libraries above come with their debugging sections (Debian's builds keep them), which
# would more than double the programs the installer ships; a release link leaves them out.
add_link_options($<$<CONFIG:Release>:-s>)

# Windows' backend folder: the system's own services, its window system and WGL.
set(VOSTREL_BACKEND_FOLDERS win32)
set(VOSTREL_WINDOW_SYSTEMS win32)

# Windows takes the decoders, the players, the voice slots, the picture writer and the glyph
# flattening over portable libraries, but not SDL: the voices go to the system's own wave
# output, and the effects play through PlaySound, the call whose contract the effects' seam is
# written after. Its registry is real, so it needs no REGEDIT4 text.
set(VOSTREL_PORTABLE_BACKENDS
    audio_engine_mixer audio_mp3_mpg123 audio_song_openmpt voice_slots jpeg_decoder_libjpeg
    png_writer_libpng outline_font_freetype)

add_library(vostrel_platform_libraries INTERFACE)
target_include_directories(vostrel_platform_libraries INTERFACE
    ${VOSTREL_WIN_DEPS}/include ${VOSTREL_WIN_DEPS}/include/freetype2)
# windows.h without its rarely used parts, and without the min and max macros that would
# break std::min and std::max in every backend file that includes it.
target_compile_definitions(vostrel_platform_libraries INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX)
# libopenmpt reads paths through the shell's light API (shlwapi).
target_link_libraries(vostrel_platform_libraries INTERFACE
    ${VOSTREL_WIN_STATIC_PATHS}
    opengl32 glu32 gdi32 winmm comdlg32 shell32 advapi32 shlwapi)

# The resources: the configuration dialog, its picture and the program icon in a script made
# from the dialog's template (tools/dialog_resource), and the saver's description, with the
# product's name read from the source that holds it. A resource object in a static library
# would never be linked (nothing refers to it), so it goes on the link line of every program
# that links the platform library.
enable_language(RC)

# The text of a string constant `name = "..."` in a source header, with the C escapes of its
# backslashes undone, so that the build and the installer use the program's own names.
function(vostrel_read_source_string header name pattern out)
    file(READ ${PROJECT_SOURCE_DIR}/${header} text)
    string(REGEX MATCH "${name} = \"(${pattern})\"" _ "${text}")
    if(NOT CMAKE_MATCH_1)
        message(FATAL_ERROR "${name} not found in ${header}")
    endif()
    string(REPLACE "\\\\" "\\" value "${CMAKE_MATCH_1}")
    set(${out} "${value}" PARENT_SCOPE)
    set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/${header})
endfunction()

# The dialog's script is written by the template's own code, compiled for the build machine
# with its native compiler: the cross-compiled program could not run here.
function(vostrel_dialog_resource_script script)
    find_program(VOSTREL_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
    set(tool ${PROJECT_SOURCE_DIR}/tools/dialog_resource)
    set(sources ${tool}/dialog_resource.cpp ${tool}/main.cpp
        ${PROJECT_SOURCE_DIR}/src/settings/dialog_template.cpp)
    file(GLOB headers CONFIGURE_DEPENDS ${tool}/*.h ${PROJECT_SOURCE_DIR}/src/base/*.h
        ${PROJECT_SOURCE_DIR}/src/platform/*.h ${PROJECT_SOURCE_DIR}/src/settings/*.h)
    set(generator ${CMAKE_CURRENT_BINARY_DIR}/vostrel-dialog-rc)
    add_custom_command(OUTPUT ${generator}
        COMMAND ${VOSTREL_HOST_CXX} -std=c++20 -Wall -Wextra -O1
            "-DVOSTREL_VERSION=\"${PROJECT_VERSION}\"" -I${PROJECT_SOURCE_DIR}/src
            -I${PROJECT_SOURCE_DIR}/tools ${sources} -o ${generator}
        DEPENDS ${sources} ${headers}
        COMMENT "Building the dialog's resource script writer for the build machine"
        VERBATIM)
    add_custom_command(OUTPUT ${script}
        COMMAND ${generator} ${PROJECT_SOURCE_DIR}/resources ${script}
        DEPENDS ${generator}
        COMMENT "Writing the dialog's resource script"
        VERBATIM)
endfunction()

function(vostrel_add_platform_sources target)
    vostrel_read_source_string(src/base/product.h kProductName "[^\"]+" VOSTREL_PRODUCT_NAME)
    vostrel_read_source_string(src/base/product.h kTeamName "[^\"]+" VOSTREL_PUBLISHER)
    set(VOSTREL_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources)
    # Four numbers, as the version resource and the manifest want them: 1.1 is 1.1.0.0.
    set(numbers "${PROJECT_VERSION_MAJOR}" "${PROJECT_VERSION_MINOR}" "${PROJECT_VERSION_PATCH}"
        "${PROJECT_VERSION_TWEAK}")
    set(four)
    foreach(index RANGE 3)
        list(GET numbers ${index} number)
        if(number STREQUAL "")
            set(number 0)
        endif()
        list(APPEND four ${number})
    endforeach()
    list(JOIN four "." VOSTREL_FILE_VERSION)
    list(JOIN four "," VOSTREL_FILE_VERSION_COMMAS)
    string(REPLACE " " "." VOSTREL_MANIFEST_NAME "${VOSTREL_PRODUCT_NAME}")
    set(VOSTREL_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/vostrel.manifest)
    configure_file(${VOSTREL_RESOURCE_DIR}/vostrel.manifest.in ${VOSTREL_MANIFEST} @ONLY)
    configure_file(${VOSTREL_RESOURCE_DIR}/vostrel.rc.in ${CMAKE_CURRENT_BINARY_DIR}/vostrel.rc @ONLY)
    set(dialog_script ${PROJECT_BINARY_DIR}/config-dialog.rc)
    vostrel_dialog_resource_script(${dialog_script})
    add_library(vostrel_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/vostrel.rc ${dialog_script})
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/vostrel.rc PROPERTIES
        OBJECT_DEPENDS ${VOSTREL_MANIFEST})
    file(GLOB pictures CONFIGURE_DEPENDS ${VOSTREL_RESOURCE_DIR}/*.bmp ${VOSTREL_RESOURCE_DIR}/*.ico)
    set_source_files_properties(${dialog_script} PROPERTIES OBJECT_DEPENDS "${pictures}")
    target_link_libraries(${target} INTERFACE $<TARGET_OBJECTS:vostrel_resources>)
endfunction()

# The offscreen renderer, a console program (it reports on standard error), and the installer,
# vostrel-setup.exe beside the saver (packaging/windows/vostrel.nsi). The installer's names are
# the program's: the product's, the version, the machine and user keys, read from the sources
# and handed to makensis in a generated header.
function(vostrel_add_platform_parts)
    add_executable(vostrel-render ${PROJECT_SOURCE_DIR}/src/app/main_render.cpp)
    target_link_libraries(vostrel-render PRIVATE vostrel_core)
    set_target_properties(vostrel-render PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})
    find_program(VOSTREL_MAKENSIS makensis REQUIRED)
    vostrel_read_source_string(src/base/product.h kProductName "[^\"]+" product)
    vostrel_read_source_string(src/settings/install_folder.h kInstallKeyPath "[^\"]+" install_key)
    file(READ ${PROJECT_SOURCE_DIR}/src/settings/install_folder.h install_folder_header)
    string(REGEX MATCH "kInstallFolderMaxLength = ([0-9]+);" _ "${install_folder_header}")
    set(folder_max_length ${CMAKE_MATCH_1})
    vostrel_read_source_string(src/settings/settings.h kSettingsKeyPath "[^\"]+" settings_key)
    vostrel_read_source_string(src/base/product.h kHomePage "[^\"]+" home_page)
    vostrel_read_source_string(src/base/product.h kTeamName "[^\"]+" publisher)
    get_directory_property(data_files DIRECTORY ${PROJECT_SOURCE_DIR}/tools
        DEFINITION VOSTREL_DATA_OUTPUTS)
    # The installer writes each made file by name and the uninstaller deletes exactly those,
    # then each of their folders that is empty afterwards, deepest first: a user may have
    # chosen a folder that holds files of their own, in it or in a folder of the same name.
    # RemoveDataFolders takes RMDir's flag: /REBOOTOK where a file is left to the next start.
    set(install_data "")
    set(remove_data "")
    set(remove_folders "")
    set(folders)
    foreach(file ${data_files})
        file(RELATIVE_PATH relative ${VOSTREL_DATA_DIR} ${file})
        get_filename_component(folder "${relative}" DIRECTORY)
        string(REPLACE "/" "\\" windows_relative "${relative}")
        string(REPLACE "/" "\\" windows_folder "${folder}")
        set(target "$INSTDIR")
        if(folder)
            set(target "$INSTDIR\\${windows_folder}")
        endif()
        while(folder)
            string(REPLACE "/" "\\" windows_folder "${folder}")
            list(APPEND folders "${windows_folder}")
            get_filename_component(folder "${folder}" DIRECTORY)
        endwhile()
        string(APPEND install_data "  SetOutPath \"${target}\"\n  File \"${file}\"\n")
        string(APPEND remove_data "  Delete /REBOOTOK \"$INSTDIR\\${windows_relative}\"\n")
    endforeach()
    list(REMOVE_DUPLICATES folders)
    list(SORT folders)
    list(REVERSE folders)
    foreach(folder ${folders})
        string(APPEND remove_folders "  RMDir \${FLAG} \"$INSTDIR\\${folder}\"\n")
    endforeach()
    string(REGEX REPLACE "\\\\[^\\]*$" "" maker_key "${install_key}")
    set(setup ${PROJECT_BINARY_DIR}/${PROJECT_NAME}-setup.exe)
    set(defines ${PROJECT_BINARY_DIR}/installer-names.nsh)
    # The version is joined to the key's stem as the program joins VOSTREL_VERSION to it.
    file(GENERATE OUTPUT ${defines} CONTENT "\
!define PRODUCT \"${product}\"
!define VERSION \"${PROJECT_VERSION}\"
!define INSTALL_KEY \"${install_key}${PROJECT_VERSION}\"
!define MAKER_KEY \"${maker_key}\"
!define SETTINGS_KEY \"${settings_key}\"
!define HOME_PAGE \"${home_page}\"
!define PUBLISHER \"${publisher}\"
!define ICON \"${PROJECT_SOURCE_DIR}/resources/vostrel.ico\"
!define SIDE_PICTURE \"${PROJECT_SOURCE_DIR}/resources/installer-side.bmp\"
!define HEADER_PICTURE \"${PROJECT_SOURCE_DIR}/resources/installer-header.bmp\"
!define SAVER \"$<TARGET_FILE:vostrel>\"
!define SAVER_NAME \"$<TARGET_FILE_NAME:vostrel>\"
!define DATA_DIR \"${VOSTREL_DATA_DIR}\"
!define SETUP \"${setup}\"
!define FOLDER_MAX_LENGTH ${folder_max_length}
!macro InstallData
${install_data}!macroend
!macro RemoveData
${remove_data}!macroend
!macro RemoveDataFolders FLAG
${remove_folders}!macroend
")
    set(script ${PROJECT_SOURCE_DIR}/packaging/windows/vostrel.nsi)
    # A 64-bit installer: the x86 one would run in a 64-bit-only system's WoW64 view and
    # install nothing where the saver looks.
    add_custom_command(OUTPUT ${setup}
        COMMAND ${VOSTREL_MAKENSIS} -V2 "-XTarget amd64-unicode" -DNAMES=${defines} ${script}
        DEPENDS ${script} ${defines} vostrel vostrel_data ${data_files}
            ${PROJECT_SOURCE_DIR}/resources/vostrel.ico
            ${PROJECT_SOURCE_DIR}/resources/installer-side.bmp
            ${PROJECT_SOURCE_DIR}/resources/installer-header.bmp
        COMMENT "Making the installer ${PROJECT_NAME}-setup.exe"
        VERBATIM)
    add_custom_target(vostrel_installer ALL DEPENDS ${setup})
endfunction()
