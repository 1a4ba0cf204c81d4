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

# Bitmaps in the other layouts common tools write: RLE4, the core header, bit fields under each
# header length; each is described and written as PNG.
foreach(case "rle4;4;16" "core;4;16" "bits16;32;0" "v4;32;0" "v5;32;0" "fields32;32;0")
    list(GET case 0 name)
    list(GET case 1 bits)
    list(GET case 2 colours)
    expect_run(STATUS 0 OUTPUT "width 24 height 16 bits ${bits} colours ${colours}\n"
               COMMAND ${QELIMG} --info ${IMAGES}/${name}.bmp)
    file(REMOVE ${WORK}/${name}.png)
    expect_run(STATUS 0 COMMAND ${QELIMG} ${IMAGES}/${name}.bmp -o ${WORK}/${name}.png)
    if(NOT EXISTS ${WORK}/${name}.png)
        message(FATAL_ERROR "qelimg ${name}.bmp -o: no picture written")
    endif()
endforeach()
