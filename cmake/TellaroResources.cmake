# tellaro_version_resource(<program> <rc file> <manifest>): the program's version information
# and manifest. windres does not report what a script reads, so the manifest is named here.
function(tellaro_version_resource target rc manifest)
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${manifest};${PROJECT_SOURCE_DIR}/base/product.h")
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()
