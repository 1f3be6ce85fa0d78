# Vorlan.exe: the Windows user interface (every src/<subsystem>/ui/*.cpp) and
# the resource scripts (resources/*.rc) over the portable core. Included by the
# top-level CMakeLists.txt for Windows builds only.
enable_language(RC)

file(GLOB VORLAN_UI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*/ui/*.cpp)
file(GLOB VORLAN_RESOURCE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)

add_executable(Vorlan WIN32 ${VORLAN_UI_SOURCES} ${VORLAN_RESOURCE_SCRIPTS})
target_include_directories(Vorlan PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(Vorlan PRIVATE NOMINMAX STRICT)
target_link_libraries(Vorlan PRIVATE vorlan_core vorlan_platform ws2_32 comctl32 gdi32 user32)
target_link_options(Vorlan PRIVATE -static -static-libgcc -static-libstdc++)

# The program folder: the executable with its settings files, "Images",
# "Sounds" and "Chat logs" beside it, as the program expects them.
set(VORLAN_PROGRAM_FOLDER ${CMAKE_BINARY_DIR}/program)
set_target_properties(Vorlan PROPERTIES
    OUTPUT_NAME Vorlan
    RUNTIME_OUTPUT_DIRECTORY ${VORLAN_PROGRAM_FOLDER})
