# vorlan-driver.exe: the Windows-side driver of the end-to-end tests, and the
# fixture window its own commands are checked on first (tests/e2e/run). Both
# are linked statically like Vorlan.exe. Included for Windows builds only.
add_executable(vorlan-driver ${CMAKE_SOURCE_DIR}/tests/e2e/driver/main.cpp)
target_link_libraries(vorlan-driver PRIVATE ws2_32 user32)
add_executable(vorlan-e2e-fixture WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/driver/fixture.cpp)
target_link_libraries(vorlan-e2e-fixture PRIVATE comctl32 user32)
foreach(target vorlan-driver vorlan-e2e-fixture)
  target_compile_definitions(${target} PRIVATE NOMINMAX STRICT WIN32_LEAN_AND_MEAN)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/e2e)
endforeach()
