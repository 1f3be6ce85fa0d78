# Vorlan.exe: the Windows user interface (the window bases in src/ui/*.cpp and
# every src/<subsystem>/ui/*.cpp) and the resource scripts (resources/*.rc)
# over the portable core. Included by the top-level CMakeLists.txt for Windows
# builds only.
enable_language(RC)

file(GLOB VORLAN_UI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/ui/*.cpp ${CMAKE_SOURCE_DIR}/src/*/ui/*.cpp)
file(GLOB VORLAN_RESOURCE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)

add_executable(Vorlan WIN32 ${VORLAN_UI_SOURCES} ${VORLAN_RESOURCE_SCRIPTS})
target_include_directories(Vorlan PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
target_compile_definitions(Vorlan PRIVATE NOMINMAX STRICT)
target_link_libraries(Vorlan PRIVATE vorlan_core vorlan_platform ws2_32 comctl32 gdi32 user32 shell32 winmm)
target_link_options(Vorlan PRIVATE -static -static-libgcc -static-libstdc++)

# The program folder: the executable with its settings files, "Images",
# "Sounds" and "Chat logs" beside it, as the program expects them.
set(VORLAN_PROGRAM_FOLDER ${CMAKE_BINARY_DIR}/program)
set_target_properties(Vorlan PROPERTIES
    OUTPUT_NAME Vorlan
    RUNTIME_OUTPUT_DIRECTORY ${VORLAN_PROGRAM_FOLDER})
# The shipped settings files go beside it once; later builds keep what the
# program wrote.
add_custom_command(TARGET Vorlan POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_SOURCE_DIR}/resources/program -DTARGET=${VORLAN_PROGRAM_FOLDER}
            -P ${CMAKE_SOURCE_DIR}/cmake/CopyProgramFolder.cmake
    VERBATIM)

# The default sounds and skin images are generated, not stored: a script in
# tools/ writes the named files into a folder of the program, the same bytes
# on every build.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
function(vorlan_generate target script folder comment)
  list(TRANSFORM ARGN PREPEND ${folder}/ OUTPUT_VARIABLE outputs)
  add_custom_command(OUTPUT ${outputs}
      COMMAND Python3::Interpreter ${script} ${folder}
      DEPENDS ${script}
      COMMENT ${comment}
      VERBATIM)
  add_custom_target(${target} DEPENDS ${outputs})
  add_dependencies(Vorlan ${target})
endfunction()
vorlan_generate(vorlan_sounds ${CMAKE_SOURCE_DIR}/tools/sounds/make-sounds.py ${VORLAN_PROGRAM_FOLDER}/Sounds
    "Generating the default sounds" popup.wav message.wav)
# Every bitmap the windows are drawn from, and the icon.
vorlan_generate(vorlan_images ${CMAKE_SOURCE_DIR}/tools/images/make-images.py ${VORLAN_PROGRAM_FOLDER}/Images
    "Generating the default skin images" background.bmp border.bmp border2.bmp border3.bmp button.bmp
    button2.bmp "check box.bmp" "check box2.bmp" "check box3.bmp" "check box4.bmp" "radio button.bmp"
    "radio button2.bmp" "radio button3.bmp" "radio button4.bmp" expand.bmp collapse.bmp icon.ico)

# The resources as the executable carries them, checked under Wine.
file(GLOB VORLAN_UI_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/*.cpp)
if(VORLAN_TESTS AND VORLAN_UI_TESTS)
  add_executable(ui_resource_tests ${VORLAN_UI_TESTS} ${VORLAN_RESOURCE_SCRIPTS})
  target_include_directories(ui_resource_tests PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
  target_compile_definitions(ui_resource_tests PRIVATE NOMINMAX STRICT)
  target_link_libraries(ui_resource_tests PRIVATE gtest gtest_main)
  target_link_options(ui_resource_tests PRIVATE -static)
  add_test(NAME ui_resource_tests COMMAND ui_resource_tests)
endif()

# The windows' own pieces under Wine: the main window's menus and admin menus
# (tests/ui/window) and the chat text and tree controls (tests/ui/controls),
# with the resources they load. Tests that need real windows skip themselves
# when there is no display.
file(GLOB VORLAN_WINDOW_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/ui/window/*.cpp
     ${CMAKE_SOURCE_DIR}/tests/ui/controls/*.cpp)
if(VORLAN_TESTS AND VORLAN_WINDOW_TESTS)
  add_executable(ui_window_tests ${VORLAN_WINDOW_TESTS} ${VORLAN_RESOURCE_SCRIPTS}
      ${CMAKE_SOURCE_DIR}/src/app/ui/MenuMirror.cpp
      ${CMAKE_SOURCE_DIR}/src/app/ui/AdminMenus.cpp
      ${CMAKE_SOURCE_DIR}/src/app/ui/TrayMenuEntries.cpp
      ${CMAKE_SOURCE_DIR}/src/app/ui/PopupWindow.cpp
      ${CMAKE_SOURCE_DIR}/src/ui/Dialog.cpp
      ${CMAKE_SOURCE_DIR}/src/ui/WindowSkin.cpp
      ${CMAKE_SOURCE_DIR}/src/ui/ModelessKeyboard.cpp
      ${CMAKE_SOURCE_DIR}/src/conversation/ui/ChatTextControl.cpp
      ${CMAKE_SOURCE_DIR}/src/ui/TreeControl.cpp
      ${CMAKE_SOURCE_DIR}/src/client/ui/UserTreeControl.cpp
      ${CMAKE_SOURCE_DIR}/src/client/ui/RecentServersTreeControl.cpp
      ${CMAKE_SOURCE_DIR}/src/skin/ui/Skin.cpp
      ${CMAKE_SOURCE_DIR}/src/skin/ui/SkinImages.cpp
      ${CMAKE_SOURCE_DIR}/src/skin/ui/SkinButtonControl.cpp
      ${CMAKE_SOURCE_DIR}/src/skin/ui/SkinLabel.cpp)
  target_include_directories(ui_window_tests PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/resources)
  target_compile_definitions(ui_window_tests PRIVATE NOMINMAX STRICT)
  target_link_libraries(ui_window_tests PRIVATE vorlan_core vorlan_platform gtest gtest_main
      ole32 comctl32 shell32 gdi32 user32)
  target_link_options(ui_window_tests PRIVATE -static)
  add_test(NAME ui_window_tests COMMAND ui_window_tests)
endif()
