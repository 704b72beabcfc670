# Cross build for 64-bit Windows, run under 64-bit Wine. The product is the
# i686 build; this one runs the Windows tests on hosts that run no 32-bit
# code, and keeps the tree 64-bit clean.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QM_MINGW_TRIPLET x86_64-w64-mingw32)
set(QM_WINE_BITS 64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
