# The Linux backend's packages: X11 and GLX for the saver window, EGL for offscreen rendering,
# GTK for the boxes and the dialog (with gtk-layer-shell for a box over the show on Wayland), and
# the font, picture and audio libraries.
find_package(PkgConfig REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL GLX)
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11 xext xrandr xrender xscrnsaver)
pkg_check_modules(WAYLAND REQUIRED IMPORTED_TARGET wayland-client wayland-egl xkbcommon)
pkg_check_modules(WAYLAND_SCANNER REQUIRED wayland-scanner)
pkg_check_modules(WAYLAND_PROTOCOLS REQUIRED wayland-protocols)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
pkg_check_modules(GTK_LAYER_SHELL REQUIRED IMPORTED_TARGET gtk-layer-shell-0)
pkg_check_modules(FONTS REQUIRED IMPORTED_TARGET fontconfig freetype2)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
pkg_check_modules(PNG REQUIRED IMPORTED_TARGET libpng)
pkg_check_modules(AUDIO REQUIRED IMPORTED_TARGET sdl2 alsa libopenmpt libmpg123 libcdio libcdio_cdda
    libcdio_paranoia)

# Linux's backend folders: the X11 window system (with GLX and XRandR) and the Wayland one
# (with EGL and xkbcommon) over the message machinery that window systems without their own
# share, the POSIX system services, the GTK boxes and dialog, EGL's offscreen context and
# ALSA's quieting.
set(VOSTREL_BACKEND_FOLDERS x11 wayland windowing posix gtk egl alsa)
# The window systems the programs carry, in order of preference: the first whose server
# answers is chosen at start.
set(VOSTREL_WINDOW_SYSTEMS wayland x11)

# Linux takes every backend over a portable library.
set(VOSTREL_PORTABLE_BACKENDS *)

add_library(vostrel_platform_libraries INTERFACE)
target_link_libraries(vostrel_platform_libraries INTERFACE
    OpenGL::GL OpenGL::EGL OpenGL::GLX PkgConfig::GLU PkgConfig::X11 PkgConfig::WAYLAND
    PkgConfig::GTK3 PkgConfig::GTK_LAYER_SHELL
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
    # The shell's, the scaling's, the outputs' layout and the idle notifier's protocols from
    # wayland-protocols; layer-shell's, the wlroots virtual pointer's and KDE's idle protocol
    # from the tree, since no Debian package of the build carries them.
    pkg_get_variable(protocols wayland-protocols pkgdatadir)
    vostrel_wayland_protocols(${target} ${protocols}/stable/xdg-shell/xdg-shell.xml
        ${protocols}/stable/viewporter/viewporter.xml
        ${protocols}/staging/fractional-scale/fractional-scale-v1.xml
        ${protocols}/unstable/xdg-output/xdg-output-unstable-v1.xml
        ${protocols}/staging/ext-idle-notify/ext-idle-notify-v1.xml
        ${PROJECT_SOURCE_DIR}/src/platform/wayland/protocols/wlr-layer-shell-unstable-v1.xml
        ${PROJECT_SOURCE_DIR}/src/platform/wayland/protocols/wlr-virtual-pointer-unstable-v1.xml
        ${PROJECT_SOURCE_DIR}/src/platform/wayland/protocols/kde-idle.xml)
    # xdg-foreign's first version, the one GTK 3 imports, for a box over the show's toplevel.
    vostrel_wayland_protocols(${target}
        ${protocols}/unstable/xdg-foreign/xdg-foreign-unstable-v1.xml)
endfunction()

# The client code of Wayland protocols beyond the core, made by wayland-scanner from their
# descriptions (XML files) for a target.
function(vostrel_wayland_protocols target)
    pkg_get_variable(scanner wayland-scanner wayland_scanner)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols)
    file(MAKE_DIRECTORY ${out})
    foreach(xml ${ARGN})
        get_filename_component(name ${xml} NAME_WE)
        add_custom_command(OUTPUT ${out}/${name}-client-protocol.h ${out}/${name}-protocol.c
            COMMAND ${scanner} client-header ${xml} ${out}/${name}-client-protocol.h
            COMMAND ${scanner} private-code ${xml} ${out}/${name}-protocol.c
            DEPENDS ${xml} VERBATIM)
        target_sources(${target} PRIVATE ${out}/${name}-protocol.c ${out}/${name}-client-protocol.h)
    endforeach()
    target_include_directories(${target} PRIVATE ${out})
endfunction()

# What only Linux has once the programs exist: the machine key file that stands for the
# install folder's registry key, and the desktop files with the Debian package.
macro(vostrel_add_platform_parts)
    include(${PROJECT_SOURCE_DIR}/cmake/machine_key.cmake)
    include(${PROJECT_SOURCE_DIR}/cmake/package.cmake)
endmacro()
