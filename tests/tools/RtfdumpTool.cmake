# rtfdump's three commands on the sample text, and its error exits.
# -DRTFDUMP=the tool -DDATA=tests/data/rtf -DWORK=a scratch folder

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run expected_status)
    execute_process(COMMAND ${RTFDUMP} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL expected_status)
        message(FATAL_ERROR "rtfdump ${ARGN}: status ${status}, expected ${expected_status}\n${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

# The items in the quoted notation: the marker, a link's target and a character by code.
run(0 ${DATA}/Sample.rtf)
foreach(expected "\"MARKER\"" "\"jump:Index\"" "\"jump:Brasil\"" "(list 4\n +233)" "(list 22\n +2)")
    if(NOT out MATCHES "${expected}")
        message(FATAL_ERROR "the items lack ${expected}:\n${out}")
    endif()
endforeach()

# The plain text, byte for byte.
run(0 --text ${DATA}/Sample.rtf)
file(READ ${DATA}/Sample.txt expected)
if(NOT out STREQUAL expected)
    message(FATAL_ERROR "plain text differs:\n${out}")
endif()

# The first page as a PNG file.
run(0 --layout 400 300 --png ${WORK}/sample.png ${DATA}/Sample.rtf)
file(READ ${WORK}/sample.png signature LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "no PNG written")
endif()

# Errors: the message on stderr and status 1.
run(1 ${DATA}/BadHex.rtf)
if(NOT err MATCHES "Bad hex character while parsing rtf")
    message(FATAL_ERROR "bad hex: ${err}")
endif()
run(1 ${WORK}/missing.rtf)
if(NOT err MATCHES "Cannot open file")
    message(FATAL_ERROR "missing file: ${err}")
endif()
run(1 --layout 0 300 --png ${WORK}/x.png ${DATA}/Sample.rtf)
run(1 --bogus)
