# What both mingw-w64 toolchain files share; _qv_triplet names the target.
set(CMAKE_C_COMPILER   ${_qv_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_qv_triplet}-g++-posix)
set(CMAKE_RC_COMPILER  ${_qv_triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_qv_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread are linked in, so that programs and the add-in need only
# Windows system DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
