# qelavi and qelmovie together: movies of every codec report their size, length and codec, a
# frame becomes a PNG, and errors give their message on stderr with status 1.
file(MAKE_DIRECTORY ${WORK})

foreach(codec cinepak msvideo1 raw8)
    execute_process(COMMAND ${QELAVI} --codec ${codec} --fps 10 --tone 440 --pattern 48x32 --frames 12
                            -o ${WORK}/${codec}.avi RESULT_VARIABLE status ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "qelavi ${codec}: status ${status}, stderr '${err}'")
    endif()
    set(name ${codec})
    if(codec STREQUAL "raw8")
        set(name rawvideo)
    endif()
    execute_process(COMMAND ${QELMOVIE} --info ${WORK}/${codec}.avi RESULT_VARIABLE status OUTPUT_VARIABLE out)
    if(NOT status EQUAL 0 OR NOT out STREQUAL "width 48 height 32 length 1200 codec ${name}\n")
        message(FATAL_ERROR "qelmovie --info ${codec}.avi: status ${status}, output '${out}'")
    endif()
    execute_process(COMMAND ${QELMOVIE} ${WORK}/${codec}.avi 650 -o ${WORK}/${codec}.png RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/${codec}.png)
        message(FATAL_ERROR "qelmovie ${codec}.avi 650: status ${status}")
    endif()
endforeach()

# Frames from PNG files: the second movie is made of the first one's frames.
execute_process(COMMAND ${QELAVI} --codec msvideo1 -o ${WORK}/frames.avi ${WORK}/cinepak.png ${WORK}/raw8.png
                RESULT_VARIABLE status ERROR_VARIABLE err)
execute_process(COMMAND ${QELMOVIE} --info ${WORK}/frames.avi RESULT_VARIABLE status OUTPUT_VARIABLE out)
if(NOT status EQUAL 0 OR NOT out STREQUAL "width 48 height 32 length 133 codec msvideo1\n")
    message(FATAL_ERROR "qelmovie --info frames.avi: status ${status}, output '${out}'")
endif()

function(expect_error message)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE err)
    if(NOT status EQUAL 1 OR NOT err STREQUAL "${message}\n")
        message(FATAL_ERROR "${ARGN}: status ${status}, stderr '${err}'")
    endif()
endfunction()
file(WRITE ${WORK}/noise.avi "RIFF and then nothing useful")
expect_error("Cannot open movie: ${WORK}/noise.avi: Not a movie file" ${QELMOVIE} --info ${WORK}/noise.avi)
expect_error("The movie is 1200 ms long" ${QELMOVIE} ${WORK}/raw8.avi 1200 -o ${WORK}/late.png)
expect_error("Picture sides must be even and between 2 and 1024"
             ${QELAVI} --codec raw8 --pattern 15x16 --frames 2 -o ${WORK}/odd.avi)
expect_error("Cannot read picture: ${WORK}/noise.avi" ${QELAVI} --codec raw8 -o ${WORK}/x.avi ${WORK}/noise.avi)
