# Cross build for Windows with MinGW-w64 (posix threads), run under Wine.
# Included by the toolchain files of each architecture after they set
#   QM_MINGW_TRIPLET  e.g. i686-w64-mingw32
#   QM_WINE_BITS      32 or 64: the Wine the tests run in
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QM_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QM_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QM_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${QM_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# CTest runs every Windows test executable through this.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec;${QM_WINE_BITS})
