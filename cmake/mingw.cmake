# Cross-compiling for Windows with the MinGW-w64 toolchains of Debian (packages g++-mingw-w64-i686,
# g++-mingw-w64-x86-64 and their binutils). MINGW_TRIPLE names the target: i686-w64-mingw32 (the
# default) or x86_64-w64-mingw32. MINGW_THREADS chooses the compilers' thread model: "posix" for
# std::thread and std::mutex, empty for Debian's default ("win32", which has neither).
# TARNIX_QT_WINDOWS_PREFIX names a Qt built for the target (scripts/build-qt-windows), searched
# beside the sysroot.
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MINGW_TRIPLE MINGW_THREADS TARNIX_QT_WINDOWS_PREFIX)
if(NOT MINGW_TRIPLE)
  set(MINGW_TRIPLE i686-w64-mingw32)
endif()
set(CMAKE_SYSTEM_NAME Windows)
if(MINGW_TRIPLE MATCHES "^x86_64")
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
else()
  set(CMAKE_SYSTEM_PROCESSOR x86)
endif()

set(_mingw_suffix "")
if(MINGW_THREADS)
  set(_mingw_suffix -${MINGW_THREADS})
endif()
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc${_mingw_suffix})
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++${_mingw_suffix})
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE} ${TARNIX_QT_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
