# CPack pre-build script: compresses the staged manual pages with gzip -9n
# (no name or time stamp, so the package is reproducible), as Debian
# packages ship them.
file(GLOB_RECURSE _ppd_localize_man_pages
     "${CPACK_TEMPORARY_DIRECTORY}/*/share/man/man[1-9]/*.[1-9]")
foreach(_page IN LISTS _ppd_localize_man_pages)
  execute_process(COMMAND gzip -9nf "${_page}" RESULT_VARIABLE _result)
  if(NOT _result EQUAL 0)
    message(FATAL_ERROR "cannot compress ${_page}")
  endif()
endforeach()
