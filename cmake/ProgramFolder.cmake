# Assembles the shipped data of the program folder build/app/.
# Language files are kept as one fragment per window under data/lang/<letter>/ and joined here,
# so every window's texts live beside each other without one huge file.
file(GLOB LEXORN_LANG_LETTERS RELATIVE ${CMAKE_SOURCE_DIR}/data/lang ${CMAKE_SOURCE_DIR}/data/lang/*)
set(LEXORN_DATA_OUTPUTS)
foreach(letter IN LISTS LEXORN_LANG_LETTERS)
  file(GLOB fragments CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/lang/${letter}/*.ini)
  list(SORT fragments)
  set(out ${LEXORN_APP_DIR}/LANG_${letter}.dat)
  string(REPLACE ";" "|" fragment_arg "${fragments}")
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DFRAGMENTS=${fragment_arg}" -P ${CMAKE_SOURCE_DIR}/cmake/JoinFiles.cmake
    DEPENDS ${fragments} ${CMAKE_SOURCE_DIR}/cmake/JoinFiles.cmake
    COMMENT "Joining LANG_${letter}.dat"
    VERBATIM)
  list(APPEND LEXORN_DATA_OUTPUTS ${out})
endforeach()

# Everything else under data/ except the language fragments is copied as it stands.
file(GLOB_RECURSE LEXORN_PLAIN_DATA CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR}/data ${CMAKE_SOURCE_DIR}/data/*)
list(FILTER LEXORN_PLAIN_DATA EXCLUDE REGEX "^lang/")
foreach(item IN LISTS LEXORN_PLAIN_DATA)
  if(item MATCHES "^program/")
    string(REGEX REPLACE "^program/" "" target_item "${item}")
  else()
    set(target_item "data/${item}")
  endif()
  set(out "${LEXORN_APP_DIR}/${target_item}")
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E copy "${CMAKE_SOURCE_DIR}/data/${item}" "${out}"
    DEPENDS "${CMAKE_SOURCE_DIR}/data/${item}"
    VERBATIM)
  list(APPEND LEXORN_DATA_OUTPUTS "${out}")
endforeach()

add_custom_target(program_folder ALL DEPENDS ${LEXORN_DATA_OUTPUTS})
add_dependencies(corvels_lexorn2 program_folder)
