# Cross-compiling for Windows x64 with Debian's MinGW-w64 (posix-threads variant: JUCE needs
# std::thread). Used by scripts/build-windows.sh; the libraries Debian has no MinGW packages for
# are looked up in QUILLON_MINGW_DEPS (that script builds them there).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILLON_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILLON_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILLON_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILLON_MINGW_TRIPLET}-windres)
# The archiver wrappers of the same compiler, so that archives of LTO objects stay usable.
set(CMAKE_AR ${QUILLON_MINGW_TRIPLET}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${QUILLON_MINGW_TRIPLET}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT QUILLON_MINGW_DEPS AND DEFINED ENV{QUILLON_MINGW_DEPS})
    set(QUILLON_MINGW_DEPS "$ENV{QUILLON_MINGW_DEPS}")
endif()
set(QUILLON_MINGW_DEPS "${QUILLON_MINGW_DEPS}" CACHE PATH "Prefix of the MinGW builds of libpng, libjpeg and GoogleTest")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUILLON_MINGW_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${QUILLON_MINGW_TRIPLET} ${QUILLON_MINGW_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# libgcc, libstdc++ and winpthread go into the executable: it needs no MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's JUCE keeps its CMake package in the build machine's multiarch folder, which a cross
# compiler (no library architecture) never searches. Its juceaide is a ready-built host program.
if(NOT JUCE_DIR)
    file(GLOB QUILLON_HOST_JUCE_DIRS /usr/lib/*/cmake/JUCE-*)
    if(QUILLON_HOST_JUCE_DIRS)
        list(GET QUILLON_HOST_JUCE_DIRS 0 QUILLON_HOST_JUCE_DIR)
        set(JUCE_DIR "${QUILLON_HOST_JUCE_DIR}" CACHE PATH "Folder of JUCEConfig.cmake")
    endif()
endif()
