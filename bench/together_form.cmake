# Writes the form of a tiled kernel whose nest runs every instance together,
# the cheaper mode of iscc's code generation: tarvex's script without its
# "isolating" clause goes through iscc, and its nest replaces in tarvex's
# output the nest that the script as written gives. Without the clause in
# the script, the output is copied as it is.
#
# cmake -DISCC=<iscc> -DSCRIPT=<kernel>.iscc -DTILED=<kernel>.tiled.cc
#       -DOUTPUT=<kernel>.together.cc -P together_form.cmake
file(READ ${SCRIPT} script)
file(READ ${TILED} tiled)
string(FIND "${script}" " isolating theta*F;" clause)
if(clause EQUAL -1)
  file(WRITE ${OUTPUT} "${tiled}")
  return()
endif()
execute_process(COMMAND ${ISCC} INPUT_FILE ${SCRIPT} OUTPUT_VARIABLE apart ERROR_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "iscc failed on ${SCRIPT}")
endif()
string(REPLACE " isolating theta*F;" ";" script "${script}")
file(WRITE ${OUTPUT}.iscc "${script}")
execute_process(COMMAND ${ISCC} INPUT_FILE ${OUTPUT}.iscc OUTPUT_VARIABLE together RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "iscc failed on ${OUTPUT}.iscc")
endif()
string(FIND "${tiled}" "${apart}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${TILED} does not hold the nest of ${SCRIPT}")
endif()
string(REPLACE "${apart}" "${together}" tiled "${tiled}")
file(WRITE ${OUTPUT} "${tiled}")
