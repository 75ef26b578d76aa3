# The Linux backend's packages: X11 and GLX for the saver window, EGL for offscreen rendering,
# GTK for the boxes and the dialog, and the font, picture and audio libraries.
find_package(PkgConfig REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL GLX)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xrandr xrender xscrnsaver)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(FONTS REQUIRED IMPORTED_TARGET fontconfig freetype2)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(AUDIO REQUIRED IMPORTED_TARGET sdl2 alsa libopenmpt libmpg123 libcdio libcdio_cdda
    libcdio_paranoia)

# Linux's backend folders: the X11 window system (with GLX and XRandR) over the message
# machinery that window systems without their own share, the POSIX system services, the GTK
# boxes and dialog, EGL's offscreen context and ALSA's quieting.
set(VOSTREL_BACKEND_FOLDERS x11 windowing posix gtk egl alsa)

# Linux takes every backend over a portable library.
set(VOSTREL_PORTABLE_BACKENDS *)

add_library(vostrel_platform_libraries INTERFACE)
target_link_libraries(vostrel_platform_libraries INTERFACE
    OpenGL::GL OpenGL::EGL OpenGL::GLX PkgConfig::GLU PkgConfig::X11 PkgConfig::GTK3
    PkgConfig::FONTS PkgConfig::JPEG PkgConfig::PNG PkgConfig::AUDIO)

# The pictures the GTK dialog shows, compiled into the platform library as resources are on
# Windows. Called where that library is made (a generated source must be made there).
function(vostrel_add_platform_sources target)
    set(resource_dir ${PROJECT_SOURCE_DIR}/resources)
    set(bundle ${CMAKE_CURRENT_BINARY_DIR}/vostrel_resources.c)
    add_custom_command(OUTPUT ${bundle}
        COMMAND glib-compile-resources --generate-source --manual-register --c-name vostrel
                --sourcedir=${resource_dir} --target=${bundle} ${resource_dir}/vostrel.gresource.xml
        DEPENDS ${resource_dir}/vostrel.gresource.xml ${resource_dir}/dialog-picture.png
                ${resource_dir}/vostrel-48.png
        VERBATIM)
    target_sources(${target} PRIVATE ${bundle})
endfunction()

# What only Linux has once the programs exist: the machine key file that stands for the
# install folder's registry key, and the desktop files with the Debian package.
macro(vostrel_add_platform_parts)
    include(${PROJECT_SOURCE_DIR}/cmake/machine_key.cmake)
    include(${PROJECT_SOURCE_DIR}/cmake/package.cmake)
endmacro()
