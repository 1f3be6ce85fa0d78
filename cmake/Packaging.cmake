# Install rules and CPack packages (scripts/release makes both):
#   Windows build: a zip of the program folder, Vorlan-1.17-windows.zip
#   native build:  a Debian package of the headless server, vorlan-server_1.17_<arch>.deb
# Included last by the top-level CMakeLists.txt.
set(VORLAN_VERSION 1.17)
set(CPACK_PACKAGE_VERSION ${VORLAN_VERSION})
set(CPACK_PACKAGE_VENDOR "Vorlan")
set(CPACK_PACKAGE_CONTACT "Vorlan developers <vorlan@localhost>")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  if(NOT TARGET Vorlan)
    return()
  endif()
  # The program folder as a user unpacks it: Vorlan.exe, the shipped settings
  # files, every folder the build generated beside the executable ("Images",
  # "Sounds", ...) and a short README. "Chat logs" is the program's own output.
  # A build folder the program has run in holds its writes too, so releases
  # come from a fresh build folder (scripts/release).
  install(TARGETS Vorlan RUNTIME DESTINATION .)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/program/ DESTINATION . PATTERN ".*" EXCLUDE)
  install(CODE "
    file(GLOB entries LIST_DIRECTORIES true \"${VORLAN_PROGRAM_FOLDER}/*\")
    foreach(entry IN LISTS entries)
      get_filename_component(name \"\${entry}\" NAME)
      if(IS_DIRECTORY \"\${entry}\" AND NOT name STREQUAL \"Chat logs\")
        file(INSTALL \"\${entry}\" DESTINATION \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
      endif()
    endforeach()")
  # Windows users read it in Notepad.
  configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${CMAKE_BINARY_DIR}/README.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)

  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME Vorlan)
  set(CPACK_PACKAGE_FILE_NAME Vorlan-${VORLAN_VERSION}-windows)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  if(NOT TARGET vorlan-server)
    return()
  endif()
  # vorlan-server as a systemd service: the program, its unit, the default
  # settings that the package's postinst copies into the state folder
  # /var/lib/vorlan-server, and the operator's README.
  install(TARGETS vorlan-server RUNTIME DESTINATION bin)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/vorlan-server.service DESTINATION lib/systemd/system)
  install(FILES ${CMAKE_SOURCE_DIR}/resources/program/options.vr ${CMAKE_SOURCE_DIR}/resources/program/banlist.vr
          DESTINATION share/vorlan-server)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/debian/README DESTINATION share/doc/vorlan-server)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME vorlan-server)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Vorlan chat server without a window, as a systemd service")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION net)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS adduser)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
      ${CMAKE_SOURCE_DIR}/packaging/debian/postinst
      ${CMAKE_SOURCE_DIR}/packaging/debian/prerm
      ${CMAKE_SOURCE_DIR}/packaging/debian/postrm)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
