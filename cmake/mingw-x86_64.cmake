# Cross-builds the same programs for 64-bit Windows: not shipped, but run under 64-bit Wine
# on machines that can't run 32-bit code, so that the end-to-end tests still see them work.
set(VORRAK_MINGW_CPU x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
