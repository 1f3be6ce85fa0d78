# Cross-compiling Vorlan for 64-bit Windows with mingw-w64 (POSIX threads
# variant, so that std::thread and std::mutex work). Executables are linked
# statically and need no DLLs; tests and tools run under Wine through
# scripts/lib/wine-emulator with a Wine prefix of their own in the build folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLAN_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VORLAN_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VORLAN_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VORLAN_MINGW_TRIPLET}-windres)
set(CMAKE_AR ${VORLAN_MINGW_TRIPLET}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${VORLAN_MINGW_TRIPLET}-ranlib CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${VORLAN_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No runtime DLLs beside the executables: Wine (and a user) finds none.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# ctest and add_custom_command run Windows executables through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine-emulator
    --prefix=${CMAKE_BINARY_DIR}/wineprefix)
