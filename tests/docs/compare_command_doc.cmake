# Fails when docs/commands.md differs from what the command table makes.
execute_process(COMMAND ${QLNDIS} --command-doc -o ${MADE} RESULT_VARIABLE made)
if(NOT made EQUAL 0)
    message(FATAL_ERROR "qlndis --command-doc failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${COMMITTED} ${MADE} RESULT_VARIABLE same)
if(NOT same EQUAL 0)
    message(FATAL_ERROR "docs/commands.md is not what the command table makes: "
                        "run scripts/update-command-doc.sh")
endif()
