# Packs every file directly inside DATA_DIR into the ZIP archive OUTPUT, member names
# without any folder part. An empty or missing folder gives an archive with no members.
# EXCLUDE (a list of member names) leaves those files out, for archives with a member missing.
# Usage: cmake -DDATA_DIR=<folder> -DOUTPUT=<zip> [-DEXCLUDE=<a;b>] -P pack_data.cmake
set(files "")
if(IS_DIRECTORY "${DATA_DIR}")
  file(GLOB files LIST_DIRECTORIES false RELATIVE "${DATA_DIR}" "${DATA_DIR}/*")
  list(SORT files)
endif()
if(EXCLUDE)
  list(REMOVE_ITEM files ${EXCLUDE})
endif()
set(list_file "${OUTPUT}.members")
list(JOIN files "\n" member_lines)
file(WRITE "${list_file}" "${member_lines}")
set(work_dir "${DATA_DIR}")
if(NOT IS_DIRECTORY "${work_dir}")
  get_filename_component(work_dir "${OUTPUT}" DIRECTORY)
endif()
file(REMOVE "${OUTPUT}.tmp")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E tar cf "${OUTPUT}.tmp" --format=zip "--files-from=${list_file}"
  WORKING_DIRECTORY "${work_dir}"
  RESULT_VARIABLE status
  ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT EXISTS "${OUTPUT}.tmp")
  message(FATAL_ERROR "Packing ${DATA_DIR} failed: ${errors}")
endif()
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
list(LENGTH files count)
message(STATUS "Packed ${count} data files into ${OUTPUT}")
