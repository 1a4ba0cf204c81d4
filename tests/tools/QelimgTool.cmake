# qelimg over the picture fixtures: --info of a bitmap, a JPEG written as PNG, and the errors of
# a damaged file and an unknown type (message on stderr, status 1).
file(MAKE_DIRECTORY ${WORK})

execute_process(COMMAND ${QELIMG} --info ${IMAGES}/bits8.bmp RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out STREQUAL "width 24 height 16 bits 8 colours 256\n")
    message(FATAL_ERROR "qelimg --info bits8.bmp: status ${status}, output '${out}'")
endif()
execute_process(COMMAND ${QELIMG} --info ${IMAGES}/progressive.jpg RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out STREQUAL "width 24 height 16 bits 24 colours 0\n")
    message(FATAL_ERROR "qelimg --info progressive.jpg: status ${status}, output '${out}'")
endif()

file(REMOVE ${WORK}/rle8.png)
execute_process(COMMAND ${QELIMG} ${IMAGES}/rle8.bmp -o ${WORK}/rle8.png RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/rle8.png)
    message(FATAL_ERROR "qelimg rle8.bmp -o: status ${status}")
endif()

file(WRITE ${WORK}/damaged.jpg "not a picture at all")
execute_process(COMMAND ${QELIMG} ${WORK}/damaged.jpg -o ${WORK}/damaged.png RESULT_VARIABLE status
                ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "Invalid JPEG file")
    message(FATAL_ERROR "qelimg damaged.jpg: status ${status}, stderr '${err}'")
endif()
file(WRITE ${WORK}/picture.gif "GIF89a")
execute_process(COMMAND ${QELIMG} --info ${WORK}/picture.gif RESULT_VARIABLE status ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "Unsupported picture type")
    message(FATAL_ERROR "qelimg picture.gif: status ${status}, stderr '${err}'")
endif()
