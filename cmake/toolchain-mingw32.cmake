# Cross-build for 32-bit Windows (the add-in for a 32-bit Word, the Word stand-in and their tests)
# with Debian's mingw-w64 compilers, posix thread model. Use through scripts/build-windows.sh --x86.
# Its tests run under the 64-bit Wine with its 32-bit half (WoW64, wine32:i386).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_qv_triplet i686-w64-mingw32)
include("${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake")
