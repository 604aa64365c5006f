# PAGER_CLASS_ID ("{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case) goes
# into generated/pager_class_id.h (its text and a GUID initializer) and into
# class-id.txt, which scripts/package.sh hands to the installer.
function(pager_write_class_id)
  set(hex "[0-9A-F]")
  string(REPEAT "${hex}" 4 hex4)
  if(NOT PAGER_CLASS_ID MATCHES
     "^{(${hex4}${hex4})-(${hex4})-(${hex4})-(${hex}${hex})(${hex}${hex})-(${hex4}${hex4}${hex4})}$")
    message(FATAL_ERROR "PAGER_CLASS_ID is not a GUID in upper-case registry form: ${PAGER_CLASS_ID}")
  endif()
  set(head "{0x${CMAKE_MATCH_1}, 0x${CMAKE_MATCH_2}, 0x${CMAKE_MATCH_3}, {0x${CMAKE_MATCH_4}, 0x${CMAKE_MATCH_5}")
  string(REGEX REPLACE "(..)" ", 0x\\1" tail "${CMAKE_MATCH_6}")
  set(PAGER_CLASS_ID_INITIALIZER "${head}${tail}}}")
  configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/pager_class_id.h.in
                 ${CMAKE_BINARY_DIR}/generated/pager_class_id.h @ONLY)
  file(WRITE ${CMAKE_BINARY_DIR}/class-id.txt "${PAGER_CLASS_ID}\n")
endfunction()
pager_write_class_id()
