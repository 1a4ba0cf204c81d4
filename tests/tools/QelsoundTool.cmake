# qelsound --info over the sound fixtures, and its errors (message on stderr, status 1).
include(${CMAKE_CURRENT_LIST_DIR}/ExpectRun.cmake)
file(MAKE_DIRECTORY ${WORK})

expect_run(STATUS 0 OUTPUT "wav format 1 channels 1 rate 11025 bits 8 duration 200\n"
           COMMAND ${QELSOUND} --info ${SOUNDS}/tone.wav)
expect_run(STATUS 0 OUTPUT "mid\n" COMMAND ${QELSOUND} --info ${SOUNDS}/tune.mid)

file(WRITE ${WORK}/noise.wav "RIFX and then nothing useful")
expect_run(STATUS 1 ERROR "Not a valid sound file\n" COMMAND ${QELSOUND} --info ${WORK}/noise.wav)
file(WRITE ${WORK}/short.wav "RIFF")
expect_run(STATUS 1 ERROR_MATCHES "Cannot read QELINT from stream" COMMAND ${QELSOUND} --info ${WORK}/short.wav)
file(WRITE ${WORK}/theme.ogg "OggS")
expect_run(STATUS 1 ERROR "Unsupported sound type: ogg\n" COMMAND ${QELSOUND} --info ${WORK}/theme.ogg)
# A header with no channel or no sample rate holds no sound to play.
expect_run(STATUS 1 ERROR "Not a valid sound file\n" COMMAND ${QELSOUND} --info ${SOUNDS}/zero-channels.wav)
expect_run(STATUS 1 ERROR "Not a valid sound file\n" COMMAND ${QELSOUND} --info ${SOUNDS}/zero-rate.wav)
