#pragma once
// Included once, by the main file of each program that opens windows. libdbus (which Qt's X11
// platform and the tray icon reach) keeps a buffer until the process is gone, which LeakSanitizer
// would report at every clean end and turn into a failed exit status. In a sanitizer build this
// names that buffer as known; elsewhere it adds nothing.

#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
#endif
