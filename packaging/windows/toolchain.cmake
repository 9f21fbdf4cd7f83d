# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, for std::thread and
# std::mutex). Used both to build Qt for Windows and, chained from Qt's own toolchain file, the
# program itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZTC_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZTC_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZTC_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZTC_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZTC_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# No link time in the PE headers, so the same sources always link to the same bytes.
foreach(kind EXE SHARED MODULE)
  set(CMAKE_${kind}_LINKER_FLAGS_INIT -Wl,--no-insert-timestamp)
endforeach()
