# Cross-build for 32-bit Windows (the add-in for a 32-bit Word) with Debian's mingw-w64 compilers,
# posix thread model. Use through scripts/build-windows.sh --x86. Programs of this build cannot run
# under this machine's 64-bit-only Wine, so it builds without running tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_qv_triplet i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake")
