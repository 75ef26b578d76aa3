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

# TODO(#27): the resources (dialog template, its picture, the icon, the description string),
# compiled with windres, join the platform library here.
function(vostrel_add_platform_sources target)
endfunction()

# TODO(#27): the NSIS installer joins here once vostrel.scr links.
macro(vostrel_add_platform_parts)
endmacro()
