# Cross-build for 64-bit Windows with Debian's mingw-w64 compilers, posix thread model (the win32
# model lacks std::thread, which Qt and the timers need). Use through scripts/build-windows.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_qv_triplet x86_64-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake")
