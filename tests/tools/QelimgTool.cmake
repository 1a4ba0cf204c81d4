# qelimg over the picture fixtures: --info of a bitmap, a JPEG written as PNG, and the errors of
# a damaged file and an unknown type (message on stderr, status 1).
include(${CMAKE_CURRENT_LIST_DIR}/ExpectRun.cmake)
file(MAKE_DIRECTORY ${WORK})

expect_run(STATUS 0 OUTPUT "width 24 height 16 bits 8 colours 256\n" COMMAND ${QELIMG} --info ${IMAGES}/bits8.bmp)
expect_run(STATUS 0 OUTPUT "width 24 height 16 bits 24 colours 0\n"
           COMMAND ${QELIMG} --info ${IMAGES}/progressive.jpg)

file(REMOVE ${WORK}/rle8.png)
expect_run(STATUS 0 COMMAND ${QELIMG} ${IMAGES}/rle8.bmp -o ${WORK}/rle8.png)
if(NOT EXISTS ${WORK}/rle8.png)
    message(FATAL_ERROR "qelimg rle8.bmp -o: no picture written")
endif()

file(WRITE ${WORK}/damaged.jpg "not a picture at all")
expect_run(STATUS 1 ERROR_MATCHES "Invalid JPEG file" COMMAND ${QELIMG} ${WORK}/damaged.jpg -o ${WORK}/damaged.png)
file(WRITE ${WORK}/picture.gif "GIF89a")
expect_run(STATUS 1 ERROR_MATCHES "Unsupported picture type" COMMAND ${QELIMG} --info ${WORK}/picture.gif)
