# Copies the shipped program folder (resources/program) beside Vorlan.exe
# without overwriting: what the program has written there itself is kept.
#   cmake -DSOURCE=<resources/program> -DTARGET=<program folder> -P CopyProgramFolder.cmake
file(GLOB_RECURSE shipped RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(relative IN LISTS shipped)
  if(NOT EXISTS "${TARGET}/${relative}")
    get_filename_component(folder "${TARGET}/${relative}" DIRECTORY)
    file(MAKE_DIRECTORY "${folder}")
    file(COPY "${SOURCE}/${relative}" DESTINATION "${folder}")
  endif()
endforeach()
