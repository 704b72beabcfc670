# Cross build for 32-bit Windows, the product, run under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QM_MINGW_TRIPLET i686-w64-mingw32)
set(QM_WINE_BITS 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
