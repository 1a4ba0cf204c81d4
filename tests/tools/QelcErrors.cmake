# An error of the framework ends qelc with status 1 and its message on stderr.
include(${CMAKE_CURRENT_LIST_DIR}/ExpectRun.cmake)
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/bad.lst "(list 1 nope)")
expect_run(STATUS 1 ERROR_MATCHES "Undefined constant: 'nope' while parsing nope\\)"
           COMMAND ${QELC} compile ${WORK}/bad.lst -o ${WORK}/bad.etn)
file(WRITE ${WORK}/bad.dtt "0QEL\\x10")
file(WRITE ${WORK}/bad.dtt "0QELxxxx")
expect_run(STATUS 1 ERROR_MATCHES "Version mismatch -- cannot open archive" COMMAND ${QELC} dump ${WORK}/bad.dtt)
expect_run(STATUS 1 ERROR_MATCHES "qelFileStream: Cannot open " COMMAND ${QELC} dump ${WORK}/missing.etn)
