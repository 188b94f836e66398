# The tables of docs/simulation.md between "<!-- zeb2hart timing: begin -->" and
# "<!-- zeb2hart timing: end -->" must be what `zeb2hart timing` prints, so that the
# documented defaults and times cannot drift from the code.
# cmake -DCOMMAND=zeb2hart -DDOC=docs/simulation.md -P timing-table.cmake
execute_process(COMMAND ${COMMAND} timing RESULT_VARIABLE status OUTPUT_VARIABLE printed ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "zeb2hart timing: exit status ${status}: ${errors}")
endif()
file(READ ${DOC} doc)
string(FIND "${doc}" "<!-- zeb2hart timing: begin -->\n" begin)
string(FIND "${doc}" "<!-- zeb2hart timing: end -->" end)
if(begin EQUAL -1 OR end EQUAL -1)
  message(FATAL_ERROR "${DOC} lacks the zeb2hart timing markers")
endif()
string(LENGTH "<!-- zeb2hart timing: begin -->\n" marker)
math(EXPR begin "${begin} + ${marker}")
math(EXPR length "${end} - ${begin}")
string(SUBSTRING "${doc}" ${begin} ${length} documented)
if(NOT documented STREQUAL printed)
  message(FATAL_ERROR "${DOC} differs from `zeb2hart timing`; paste its output between the markers.\n"
                      "documented:\n${documented}\nprinted:\n${printed}")
endif()
