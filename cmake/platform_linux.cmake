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

add_library(vostrel_platform_libraries INTERFACE)
target_link_libraries(vostrel_platform_libraries INTERFACE
    OpenGL::GL OpenGL::EGL OpenGL::GLX PkgConfig::GLU PkgConfig::X11 PkgConfig::GTK3
    PkgConfig::FONTS PkgConfig::JPEG PkgConfig::PNG PkgConfig::AUDIO)
