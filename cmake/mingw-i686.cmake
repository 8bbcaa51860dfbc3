# Cross-compiling for 32-bit Windows with the MinGW-w64 toolchain of Debian (packages
# g++-mingw-w64-i686 and binutils-mingw-w64-i686).
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
