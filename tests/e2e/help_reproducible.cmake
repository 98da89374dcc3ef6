# klr.chm written again from a copy of its sources elsewhere, by a relative
# project path from another folder, must equal the built file byte for byte.
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE}/help DESTINATION ${WORK}/elsewhere)
file(COPY ${SOURCE}/common/help_contexts.h DESTINATION ${WORK}/elsewhere/common)
execute_process(COMMAND ${WRITER} elsewhere/help/klr.hhp again.chm WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${BUILT} ${WORK}/again.chm RESULT_VARIABLE differs)
if(NOT rc EQUAL 0 OR NOT differs EQUAL 0)
  message(FATAL_ERROR "klr.chm written in ${WORK} is not the built ${BUILT} (writer: ${rc})")
endif()
file(REMOVE_RECURSE ${WORK})
