# Runs COMMAND with ARGS (a ;-list) and checks its exit status (a number or
# "nonzero") and that its output matches MESSAGE. Never more than 60 s.
execute_process(COMMAND ${COMMAND} ${ARGS} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
                TIMEOUT 60)
set(all "${out}${err}")
if(STATUS STREQUAL "nonzero")
  if(status EQUAL 0 OR NOT status MATCHES "^[0-9]+$")
    message(FATAL_ERROR "expected a non-zero exit status, got '${status}'\n${all}")
  endif()
elseif(NOT status STREQUAL "${STATUS}")
  message(FATAL_ERROR "expected exit status ${STATUS}, got '${status}'\n${all}")
endif()
if(NOT all MATCHES "${MESSAGE}")
  message(FATAL_ERROR "the output does not match '${MESSAGE}':\n${all}")
endif()
