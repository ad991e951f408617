# Fails when the dynamic loader would load a Qt library for PROGRAM.
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "ldd ${PROGRAM} failed")
endif()
string(REGEX MATCHALL "libQt[^ \t\n]*" qt "${libraries}")
if(qt)
  message(FATAL_ERROR "${PROGRAM} loads Qt: ${qt}")
endif()
