# Stages the markup archive fixture and zips it: cmake -DSRC=... -DOUT=... -P
set(stage ${OUT}/markup_stage)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage}/skins)
file(COPY ${SRC}/login.xml DESTINATION ${stage})
file(COPY ${SRC}/play.xml DESTINATION ${stage}/skins)
file(WRITE ${stage}/empty.xml "")
# Exactly at the size limit, and one byte beyond it.
set(head "<Window>")
set(tail "</Window>")
math(EXPR pad "4194304 - 17")
string(REPEAT " " ${pad} blanks)
file(WRITE ${stage}/limit.xml "${head}${blanks}${tail}")
file(WRITE ${stage}/big.xml "${head}${blanks} ${tail}")
file(REMOVE ${OUT}/markup_skin.zip)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT}/markup_skin.zip --format=zip
    login.xml skins empty.xml limit.xml big.xml
  WORKING_DIRECTORY ${stage} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "zipping the markup fixture failed: ${result}")
endif()
file(REMOVE_RECURSE ${stage})
