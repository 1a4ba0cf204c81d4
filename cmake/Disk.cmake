# The framework showcase: build/<tree>/showcase/ made from content/showcase/ by the project's own
# tools, as part of the default build (the framework's scenario tests run on it).
#
#   showcase/VL98.ini, registry.reg           the settings files (cp1252)
#   showcase/cursors/102.cur, 104.cur         the program's cursors, drawn
#   showcase/Media/global.etn, <form>.etn     the globals and the forms, compiled by qelc
#   showcase/Media/*.bmp                      the pictures, drawn by diskbuild
#   showcase/Media/*.avi, Media/Movies/*.avi  short movies, encoded by qelavi
#   showcase/Media/videos.dat                 the video archive, made by qelc

set(QEL_DISK_DIR ${CMAKE_BINARY_DIR}/showcase)
set(QEL_CONTENT_DIR ${PROJECT_SOURCE_DIR}/content/showcase)

file(GLOB qel_disk_forms CONFIGURE_DEPENDS ${QEL_CONTENT_DIR}/forms/*.frm)
set(qel_disk_outputs)

foreach(name VL98.ini registry.reg)
    add_custom_command(OUTPUT ${QEL_DISK_DIR}/${name}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_DISK_DIR}
        COMMAND diskbuild text ${QEL_CONTENT_DIR}/${name} ${QEL_DISK_DIR}/${name}
        DEPENDS diskbuild ${QEL_CONTENT_DIR}/${name}
        COMMENT "Showcase: ${name}" VERBATIM)
    list(APPEND qel_disk_outputs ${QEL_DISK_DIR}/${name})
endforeach()

foreach(source IN LISTS qel_disk_forms ITEMS ${QEL_CONTENT_DIR}/global.tbl)
    get_filename_component(stem ${source} NAME_WE)
    set(output ${QEL_DISK_DIR}/Media/${stem}.etn)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_DISK_DIR}/Media
        COMMAND qelc compile ${source} -o ${output}
        DEPENDS qelc ${source}
        COMMENT "Showcase: ${stem}.etn" VERBATIM)
    list(APPEND qel_disk_outputs ${output})
endforeach()

# The pictures and cursors: one stamp per description, since each makes several files.
foreach(pair "pictures.tbl;Media" "dialogs.tbl;Media" "controles.tbl;Media" "cursors.tbl;cursors")
    list(GET pair 0 description)
    list(GET pair 1 folder)
    set(stamp ${CMAKE_BINARY_DIR}/showcase-stamps/${description}.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_DISK_DIR}/${folder} ${CMAKE_BINARY_DIR}/showcase-stamps
        COMMAND diskbuild pictures ${QEL_CONTENT_DIR}/${description} ${QEL_DISK_DIR}/${folder}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS diskbuild ${QEL_CONTENT_DIR}/${description}
        COMMENT "Showcase: ${description}" VERBATIM)
    list(APPEND qel_disk_outputs ${stamp})
endforeach()

# Short movies, encoded by qelavi in the codecs of the original content. The video views' movies
# sit in the "Movies" folder that the globals' "VideoPath" names.
foreach(movie "Media/Movies;abertura;cinepak;--tone;440" "Media;mapa;msvideo1")
    list(POP_FRONT movie folder name codec)
    set(output ${QEL_DISK_DIR}/${folder}/${name}.avi)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_DISK_DIR}/${folder}
        COMMAND qelavi --codec ${codec} --fps 15 --pattern 160x120 --frames 30 ${movie} -o ${output}
        DEPENDS qelavi
        COMMENT "Showcase: ${name}.avi" VERBATIM)
    list(APPEND qel_disk_outputs ${output})
endforeach()

# The video archive: item 0 maps movie sizes to the items that place them.
set(qel_video_items ${QEL_CONTENT_DIR}/videos/tamanhos.tbl ${QEL_CONTENT_DIR}/videos/160x120.tbl)
add_custom_command(OUTPUT ${QEL_DISK_DIR}/Media/videos.dat
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_DISK_DIR}/Media
    COMMAND qelc archive ${QEL_DISK_DIR}/Media/videos.dat ${qel_video_items}
    DEPENDS qelc ${qel_video_items}
    COMMENT "Showcase: videos.dat" VERBATIM)
list(APPEND qel_disk_outputs ${QEL_DISK_DIR}/Media/videos.dat)

add_custom_target(showcase_disk ALL DEPENDS ${qel_disk_outputs})
