# vorlan-driver.exe: the Windows-side driver of the end-to-end tests. It finds
# Vorlan's windows and controls in the Wine desktop and drives them with window
# messages (tests/e2e/run talks to it). Included by the top-level CMakeLists.txt
# for Windows builds only; a console program linked statically like Vorlan.exe.
file(GLOB VORLAN_E2E_DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/driver/*.cpp)
if(VORLAN_E2E_DRIVER_SOURCES)
  add_executable(vorlan-driver ${VORLAN_E2E_DRIVER_SOURCES})
  target_compile_definitions(vorlan-driver PRIVATE NOMINMAX STRICT WIN32_LEAN_AND_MEAN)
  target_link_libraries(vorlan-driver PRIVATE ws2_32 comctl32 user32)
  target_link_options(vorlan-driver PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(vorlan-driver PROPERTIES
      OUTPUT_NAME vorlan-driver
      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/e2e)
endif()

# A small window with the same kinds of controls, on which the driver's own
# commands are checked first (tests/e2e/run --self-test).
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/e2e/fixture/fixture.cpp)
  add_executable(vorlan-e2e-fixture WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/fixture/fixture.cpp)
  target_compile_definitions(vorlan-e2e-fixture PRIVATE NOMINMAX STRICT)
  target_link_libraries(vorlan-e2e-fixture PRIVATE comctl32 user32)
  target_link_options(vorlan-e2e-fixture PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(vorlan-e2e-fixture PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/e2e)
endif()
