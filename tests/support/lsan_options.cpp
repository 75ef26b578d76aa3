// LeakSanitizer settings for every test program and every sanitized program. With this toolchain
// (GCC 12, glibc 2.36) the leak checker sometimes finds a garbage dynamic-TLS range of a GL driver
// library when it stops the program at exit, and crashes; whether it does depends only on how the
// program happens to lie in memory. Not scanning thread-local storage avoids that. It can only add
// false leak reports, never hide one: the system libraries that keep their lifetime data
// reachable only from thread-local storage are suppressed here, as the shared suppression
// file does for the others (test discovery runs without that file). The list of suppressions
// used is not printed: the build runs every test program to list its tests, and each listing
// would end in one.
extern "C" const char* __lsan_default_options() {
    return "use_tls=0:print_suppressions=0";
}
extern "C" const char* __lsan_default_suppressions() {
    return "leak:add_to_global_resize\n"
           "leak:_dlerror_run\n"
           "leak:_dl_exception_create\n"
           "leak:_dl_map_object_deps\n"
           "leak:libglib-2.0\n"
           "leak:libgobject-2.0\n"
           "leak:libgtk-3\n"
           "leak:libgdk-3\n"
           "leak:libfontconfig\n"
           "leak:libGLX_mesa\n"
           "leak:libEGL_mesa\n"
           "leak:libgallium\n"
           "leak:swrast_dri\n"
           "leak:libLLVM\n";
}
