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

# Windows takes the decoders, the players, the voice slots, the picture writer and the glyph
# flattening over portable libraries, but not SDL: the voices go to the system's own wave output, and the effects play
# through PlaySound, the call whose contract the effects' seam is written after. Its registry is
# real, so it needs no REGEDIT4 text.
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

# The resources: the icon, the dialog's picture and the saver's description, with the product's
# name and the picture's number read from the sources that hold them. A resource object in a
# static library would never be linked (nothing refers to it), so it goes on the link line of
# every program that links the platform library.
enable_language(RC)
function(vostrel_add_platform_sources target)
    file(READ ${PROJECT_SOURCE_DIR}/src/base/product.h product_text)
    string(REGEX MATCH "kProductName = \"([^\"]+)\"" _ "${product_text}")
    set(VOSTREL_PRODUCT_NAME ${CMAKE_MATCH_1})
    file(READ ${PROJECT_SOURCE_DIR}/src/platform/dialog_view.h view_text)
    string(REGEX MATCH "kDialogPictureResource = \"#([0-9]+)\"" _ "${view_text}")
    set(VOSTREL_PICTURE_ID ${CMAKE_MATCH_1})
    set(VOSTREL_RESOURCE_DIR ${PROJECT_SOURCE_DIR}/resources)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/src/base/product.h ${PROJECT_SOURCE_DIR}/src/platform/dialog_view.h)
    configure_file(${VOSTREL_RESOURCE_DIR}/vostrel.rc.in ${CMAKE_CURRENT_BINARY_DIR}/vostrel.rc @ONLY)
    add_library(vostrel_resources OBJECT ${CMAKE_CURRENT_BINARY_DIR}/vostrel.rc)
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/vostrel.rc PROPERTIES
        OBJECT_DEPENDS "${VOSTREL_RESOURCE_DIR}/vostrel.ico;${VOSTREL_RESOURCE_DIR}/dialog-picture.bmp")
    target_link_libraries(${target} INTERFACE $<TARGET_OBJECTS:vostrel_resources>)
endfunction()

# TODO(#27): the NSIS installer joins here once vostrel.scr links.
macro(vostrel_add_platform_parts)
endmacro()
