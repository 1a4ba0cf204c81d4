# The almanac's sample disk: build/<tree>/disk/ made from content/almanac/ and content/style/ by
# the project's own tools, as part of the default build. Every step writes one file (or, for a
# set of pictures, a stamp), so a changed source rebuilds only what it feeds; two builds of the
# same sources give the same bytes.
#
#   disk/VL98.ini                  the installation: the disk is its source disk
#   disk/VL98.html                 the help page
#   disk/cursors/102.cur, 104.cur  the program's cursors and its icon 101.ico (content/style/cursors.tbl)
#   disk/Media/global.etn          the globals (content/almanac/global.tbl)
#   disk/Media/<file>.etn          one per registered screen (content/almanac/screens.txt): the
#                                  authored screens/<file>.frm, else a placeholder of its class
#   disk/Media/indeo41.dib, *.bmp  the start picture, the media pictures and maps (the atlas's
#                                  drawn from content/almanac/maps/formas.tbl), the look's pictures
#   disk/Media/*.DAT, *.IDX, *.DTT the content archives, their indexes and the category lists
#   disk/Media/abertura*.avi, *.wav the intro's movies and music, the credits' picture and music
#   disk/Media/Sounds/*.wav        the sounds that text pages' "audio:" links play
#   disk/Media/KeyWord.idx, .dat   the word search's keyword files
#   disk/Media/Retro.DAT, RTCatLst.DTT, RTTitulo.IDX
#                                  the review of the year (content/almanac/data/retro.tbl)
#   disk/Media/Retro98.DAT, RTCLst98.DTT, RTTit98.IDX
#                                  its second set (content/almanac/data/retro98.tbl)
#   disk/Media/DBCurio.dat, CVSbCatL.dtt, CDBIDLST.IDX
#                                  the curiosities, their categories and their title index
#   disk/Media/TimeLine.dat        the timeline's events

set(QEL_ALMANAC_DIR ${CMAKE_BINARY_DIR}/disk)
set(QEL_ALMANAC_MEDIA ${QEL_ALMANAC_DIR}/Media)
set(QEL_ALMANAC_CONTENT ${PROJECT_SOURCE_DIR}/content/almanac)
set(QEL_STYLE_CONTENT ${PROJECT_SOURCE_DIR}/content/style)
set(qel_almanac_stamps ${CMAKE_BINARY_DIR}/almanac-stamps)
file(MAKE_DIRECTORY ${QEL_ALMANAC_MEDIA} ${qel_almanac_stamps})
set(qel_almanac_outputs)

# The settings file names the folder the disk was built into.
configure_file(${QEL_ALMANAC_CONTENT}/VL98.ini.in ${qel_almanac_stamps}/VL98.ini @ONLY)
add_custom_command(OUTPUT ${QEL_ALMANAC_DIR}/VL98.ini
    COMMAND diskbuild text ${qel_almanac_stamps}/VL98.ini ${QEL_ALMANAC_DIR}/VL98.ini
    DEPENDS diskbuild ${qel_almanac_stamps}/VL98.ini
    COMMENT "Almanac: VL98.ini" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_DIR}/VL98.ini)

# The help page that the help menu's "Índice" opens in the desktop's browser.
add_custom_command(OUTPUT ${QEL_ALMANAC_DIR}/VL98.html
    COMMAND diskbuild text ${QEL_ALMANAC_CONTENT}/VL98.html ${QEL_ALMANAC_DIR}/VL98.html
    DEPENDS diskbuild ${QEL_ALMANAC_CONTENT}/VL98.html
    COMMENT "Almanac: VL98.html" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_DIR}/VL98.html)

add_custom_command(OUTPUT ${QEL_ALMANAC_MEDIA}/global.etn
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild global ${QEL_ALMANAC_CONTENT}/global.tbl ${QEL_ALMANAC_CONTENT}/screens.txt
            -o ${QEL_ALMANAC_MEDIA}/global.etn
    DEPENDS diskbuild ${QEL_ALMANAC_CONTENT}/global.tbl ${QEL_ALMANAC_CONTENT}/screens.txt
    COMMENT "Almanac: global.etn" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_MEDIA}/global.etn)

# The pictures: the look's from the style, the almanac's own from their descriptions. Each
# section may keep its pictures in a pictures-<section>.tbl of its own; the content data needs
# every media picture drawn first.
function(qel_almanac_picture_step command description folder)
    get_filename_component(stem ${description} NAME_WE)
    set(stamp ${qel_almanac_stamps}/${stem}.stamp)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_DIR}/${folder}
        COMMAND diskbuild ${command} ${description} ${QEL_ALMANAC_DIR}/${folder}
        COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
        DEPENDS diskbuild ${description}
        COMMENT "Almanac: ${stem} pictures" VERBATIM)
    set(qel_almanac_outputs ${qel_almanac_outputs} ${stamp} PARENT_SCOPE)
endfunction()
qel_almanac_picture_step(look ${QEL_STYLE_CONTENT}/style.tbl Media)
file(GLOB qel_almanac_picture_tables CONFIGURE_DEPENDS ${QEL_ALMANAC_CONTENT}/pictures*.tbl)
set(qel_almanac_picture_stamps)
foreach(table IN LISTS qel_almanac_picture_tables)
    qel_almanac_picture_step(pictures ${table} Media)
    get_filename_component(stem ${table} NAME_WE)
    list(APPEND qel_almanac_picture_stamps ${qel_almanac_stamps}/${stem}.stamp)
endforeach()
qel_almanac_picture_step(pictures ${QEL_ALMANAC_CONTENT}/shell.tbl Media)
qel_almanac_picture_step(pictures ${QEL_STYLE_CONTENT}/cursors.tbl cursors)
qel_almanac_picture_step(pictures ${QEL_ALMANAC_CONTENT}/maps/mundo.tbl Media)
# The atlas's country and continent maps, drawn from the countries' outlines.
add_custom_command(OUTPUT ${qel_almanac_stamps}/atlas-maps.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild atlas ${QEL_ALMANAC_CONTENT}/maps/atlas.tbl ${QEL_ALMANAC_CONTENT}/maps/formas.tbl ${QEL_ALMANAC_MEDIA}
    COMMAND ${CMAKE_COMMAND} -E touch ${qel_almanac_stamps}/atlas-maps.stamp
    DEPENDS diskbuild ${QEL_ALMANAC_CONTENT}/maps/atlas.tbl ${QEL_ALMANAC_CONTENT}/maps/formas.tbl
    COMMENT "Almanac: the atlas's maps" VERBATIM)
list(APPEND qel_almanac_outputs ${qel_almanac_stamps}/atlas-maps.stamp)

# The intro's movies and soundtrack and the credits' picture, mask and music; the credits list
# the data sets of content/SOURCES.md.
add_custom_command(OUTPUT ${qel_almanac_stamps}/intro.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild intro ${QEL_ALMANAC_CONTENT}/intro.tbl ${PROJECT_SOURCE_DIR}/content/SOURCES.md ${QEL_ALMANAC_MEDIA}
    COMMAND ${CMAKE_COMMAND} -E touch ${qel_almanac_stamps}/intro.stamp
    DEPENDS diskbuild ${QEL_ALMANAC_CONTENT}/intro.tbl ${PROJECT_SOURCE_DIR}/content/SOURCES.md
    COMMENT "Almanac: intro and credits media" VERBATIM)
list(APPEND qel_almanac_outputs ${qel_almanac_stamps}/intro.stamp)

# The media library's movies and sounds, made the way the intro's are.
add_custom_command(OUTPUT ${qel_almanac_stamps}/midias-filmes.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild intro ${QEL_ALMANAC_CONTENT}/midias-filmes.tbl ${PROJECT_SOURCE_DIR}/content/SOURCES.md ${QEL_ALMANAC_MEDIA}
    COMMAND ${CMAKE_COMMAND} -E touch ${qel_almanac_stamps}/midias-filmes.stamp
    DEPENDS diskbuild ${QEL_ALMANAC_CONTENT}/midias-filmes.tbl
    COMMENT "Almanac: the media library's movies and sounds" VERBATIM)
list(APPEND qel_almanac_outputs ${qel_almanac_stamps}/midias-filmes.stamp)

# The registered screens. An authored source is found by its file base without regard to case,
# as the program finds the compiled file; the rest are placeholders. Ninja reruns a step whose
# command changed, so a registration line that changes rebuilds only its own screen.
file(GLOB qel_almanac_authored CONFIGURE_DEPENDS ${QEL_ALMANAC_CONTENT}/screens/*.frm)
foreach(source IN LISTS qel_almanac_authored)
    get_filename_component(stem ${source} NAME_WE)
    string(TOLOWER ${stem} stem)
    set(qel_authored_${stem} ${source})
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QEL_ALMANAC_CONTENT}/screens.txt)
file(STRINGS ${QEL_ALMANAC_CONTENT}/screens.txt qel_almanac_screens REGEX "^[^#]")
foreach(line IN LISTS qel_almanac_screens)
    string(REGEX MATCHALL "[^ \t]+" fields "${line}")
    list(LENGTH fields count)
    if(NOT count EQUAL 4)
        message(FATAL_ERROR "screens.txt: expected name, class, file and look in \"${line}\"")
    endif()
    list(GET fields 0 name)
    list(GET fields 1 class)
    list(GET fields 2 file)
    list(GET fields 3 look)
    string(TOLOWER ${file} lower)
    set(output ${QEL_ALMANAC_MEDIA}/${file}.etn)
    if(DEFINED qel_authored_${lower})
        set(source ${qel_authored_${lower}})
    else()
        set(source)
    endif()
    if(lower STREQUAL "vrbtform")
        # The entry page takes the entries' category names from the entries' table.
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
            COMMAND diskbuild entryscreen ${name} ${class} ${look} ${source} ${QEL_ALMANAC_CONTENT}/data/verbetes.tbl
                    -o ${output}
            DEPENDS diskbuild ${source} ${QEL_ALMANAC_CONTENT}/data/verbetes.tbl
            COMMENT "Almanac: ${file}.etn" VERBATIM)
    else()
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
            COMMAND diskbuild screen ${name} ${class} ${look} ${source} -o ${output}
            DEPENDS diskbuild ${source}
            COMMENT "Almanac: ${file}.etn" VERBATIM)
    endif()
    list(APPEND qel_almanac_outputs ${output})
endforeach()

# The content data: the archives and category lists written by diskbuild with the framework's
# archive writer, the indexes by qelidx from the sources diskbuild derives (one per index file).
set(qel_almanac_data ${QEL_ALMANAC_CONTENT}/data)
# The review's articles of 1997 also go to the search's names and keywords.
set(qel_retro_source ${qel_almanac_data}/retro.tbl)
file(GLOB qel_almanac_media_tables CONFIGURE_DEPENDS ${qel_almanac_data}/midias*.tbl)
file(GLOB qel_almanac_curio_tables CONFIGURE_DEPENDS ${qel_almanac_data}/curio*.tbl)
set(qel_almanac_index_sources ${CMAKE_BINARY_DIR}/almanac-data)
set(qel_almanac_indexes GNRNList VDBLstID VDBNList VDBIDLst VDBName MDBLstID MDBFName MDBName MDBNList MDBIDLst
                        MDBIDLt2 ATNamLst ATIDList)
set(qel_almanac_data_outputs)
foreach(archive Verbetes.DAT Midias.DAT Atlas.DAT IDCatLst.DTT IDMidLst.DTT ATCatLst.DTT)
    list(APPEND qel_almanac_data_outputs ${QEL_ALMANAC_MEDIA}/${archive})
endforeach()
foreach(index IN LISTS qel_almanac_indexes)
    list(APPEND qel_almanac_data_outputs ${qel_almanac_index_sources}/${index}.tbl)
endforeach()
add_custom_command(OUTPUT ${qel_almanac_data_outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA} ${qel_almanac_index_sources}
    COMMAND diskbuild data ${qel_almanac_data} ${QEL_ALMANAC_MEDIA} ${qel_almanac_index_sources}
    DEPENDS diskbuild ${qel_almanac_data}/verbetes.tbl ${qel_almanac_media_tables} ${qel_almanac_data}/atlas.tbl
            ${qel_almanac_curio_tables} ${qel_almanac_data}/ltempo.tbl ${qel_retro_source} ${qel_almanac_picture_stamps}
            ${qel_almanac_stamps}/mundo.stamp ${qel_almanac_stamps}/atlas-maps.stamp
    COMMENT "Almanac: content archives and index sources" VERBATIM)
list(APPEND qel_almanac_outputs ${qel_almanac_data_outputs})
# The country and state database: records and value indexes, both archives.
set(qel_almanac_database_outputs)
foreach(file DBPaises.dat DBPaises.idx DBEstado.dat DBEstado.idx)
    list(APPEND qel_almanac_database_outputs ${QEL_ALMANAC_MEDIA}/${file})
endforeach()
add_custom_command(OUTPUT ${qel_almanac_database_outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild database ${qel_almanac_data} ${QEL_ALMANAC_MEDIA}
    DEPENDS diskbuild ${qel_almanac_data}/bdados.tbl ${qel_almanac_data}/paises.tbl
    COMMENT "Almanac: the country and state database" VERBATIM)
list(APPEND qel_almanac_outputs ${qel_almanac_database_outputs})
# The database's column headings and sort marks, drawn from the fields and their widths.
set(qel_heading_pictures ${qel_almanac_stamps}/heading-pictures.tbl)
add_custom_command(OUTPUT ${qel_heading_pictures}
    COMMAND diskbuild headings ${qel_almanac_data} ${qel_heading_pictures}
    DEPENDS diskbuild ${qel_almanac_data}/bdados.tbl ${qel_almanac_data}/bdcolunas.tbl
    COMMENT "Almanac: the database's column headings" VERBATIM)
add_custom_command(OUTPUT ${qel_almanac_stamps}/heading-pictures.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild pictures ${qel_heading_pictures} ${QEL_ALMANAC_MEDIA}
    COMMAND ${CMAKE_COMMAND} -E touch ${qel_almanac_stamps}/heading-pictures.stamp
    DEPENDS diskbuild ${qel_heading_pictures}
    COMMENT "Almanac: the database's heading pictures" VERBATIM)
list(APPEND qel_almanac_outputs ${qel_almanac_stamps}/heading-pictures.stamp)
foreach(index IN LISTS qel_almanac_indexes)
    qel_add_index_file(almanac_index_${index} SOURCE ${qel_almanac_index_sources}/${index}.tbl
                       OUTPUT ${QEL_ALMANAC_MEDIA}/${index}.IDX)
endforeach()

# The gallery of the almanac's list controls: an installation of its own, build/<tree>/galeria,
# whose settings take the disk as source disk and find the gallery's screen first, in the main
# menu's place, with the program's cursors beside them; its pictures go to the disk's media
# folder.
set(QEL_ALMANAC_GALLERY_DIR ${CMAKE_BINARY_DIR}/galeria)
set(qel_gallery_content ${QEL_ALMANAC_CONTENT}/galeria)
configure_file(${qel_gallery_content}/VL98.ini.in ${qel_almanac_stamps}/galeria.ini @ONLY)
add_custom_command(OUTPUT ${QEL_ALMANAC_GALLERY_DIR}/VL98.ini ${QEL_ALMANAC_GALLERY_DIR}/MainForm.etn
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_GALLERY_DIR}
    COMMAND diskbuild text ${qel_almanac_stamps}/galeria.ini ${QEL_ALMANAC_GALLERY_DIR}/VL98.ini
    COMMAND diskbuild screen MainForm MainForm shell ${qel_gallery_content}/Galeria.frm
            -o ${QEL_ALMANAC_GALLERY_DIR}/MainForm.etn
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_GALLERY_DIR}/cursors
    COMMAND diskbuild pictures ${QEL_STYLE_CONTENT}/cursors.tbl ${QEL_ALMANAC_GALLERY_DIR}/cursors
    DEPENDS diskbuild ${qel_almanac_stamps}/galeria.ini ${qel_gallery_content}/Galeria.frm
            ${QEL_STYLE_CONTENT}/cursors.tbl
    COMMENT "Almanac: the list controls' gallery" VERBATIM)
add_custom_command(OUTPUT ${qel_almanac_stamps}/galeria-pictures.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild pictures ${qel_gallery_content}/pictures.tbl ${QEL_ALMANAC_MEDIA}
    COMMAND ${CMAKE_COMMAND} -E touch ${qel_almanac_stamps}/galeria-pictures.stamp
    DEPENDS diskbuild ${qel_gallery_content}/pictures.tbl
    COMMENT "Almanac: the gallery's pictures" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_GALLERY_DIR}/VL98.ini ${QEL_ALMANAC_GALLERY_DIR}/MainForm.etn
     ${qel_almanac_stamps}/galeria-pictures.stamp)

# The quiz game: its question archive, scene and dialog pictures and sounds, and the source of
# its question index.
set(qel_quiz_source ${QEL_ALMANAC_CONTENT}/jogo/jogo.tbl)
add_custom_command(OUTPUT ${QEL_ALMANAC_MEDIA}/Jogo.DAT ${qel_almanac_index_sources}/JGIDList.tbl
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA} ${qel_almanac_index_sources}
    COMMAND diskbuild quiz ${qel_quiz_source} ${QEL_ALMANAC_MEDIA} ${qel_almanac_index_sources}
    DEPENDS diskbuild ${qel_quiz_source}
    COMMENT "Almanac: the quiz game's questions, pictures and sounds" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_MEDIA}/Jogo.DAT)
qel_add_index_file(almanac_index_JGIDList SOURCE ${qel_almanac_index_sources}/JGIDList.tbl
                   OUTPUT ${QEL_ALMANAC_MEDIA}/JGIDList.IDX)

# The review of the year: each set's articles, category lists and the source of its title
# index (the pictures its articles name must be media files).
foreach(set IN ITEMS "retro;Retro;RTCatLst;RTTitulo" "retro98;Retro98;RTCLst98;RTTit98")
    list(GET set 0 source)
    list(GET set 1 data)
    list(GET set 2 sections)
    list(GET set 3 titles)
    add_custom_command(OUTPUT ${QEL_ALMANAC_MEDIA}/${data}.DAT ${QEL_ALMANAC_MEDIA}/${sections}.DTT
                              ${qel_almanac_index_sources}/${titles}.tbl
        COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA} ${qel_almanac_index_sources}
        COMMAND diskbuild retro ${qel_almanac_data}/${source}.tbl ${QEL_ALMANAC_MEDIA} ${qel_almanac_index_sources}
        DEPENDS diskbuild ${qel_almanac_data}/${source}.tbl ${qel_almanac_media_tables}
        COMMENT "Almanac: the review of the year's articles and lists (${data})" VERBATIM)
    list(APPEND qel_almanac_outputs ${QEL_ALMANAC_MEDIA}/${data}.DAT ${QEL_ALMANAC_MEDIA}/${sections}.DTT)
    qel_add_index_file(almanac_index_${titles} SOURCE ${qel_almanac_index_sources}/${titles}.tbl
                       OUTPUT ${QEL_ALMANAC_MEDIA}/${titles}.IDX)
endforeach()

# The agenda's year: its content archive, holidays and icons, and its pictures in the look.
set(qel_agenda_pictures ${qel_almanac_stamps}/agenda-pictures.tbl)
add_custom_command(OUTPUT ${QEL_ALMANAC_MEDIA}/Agenda.dat ${QEL_ALMANAC_MEDIA}/agferiad.tbl
                          ${QEL_ALMANAC_MEDIA}/agsignos.tbl ${qel_agenda_pictures}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild agenda ${qel_almanac_data}/agenda.tbl ${QEL_STYLE_CONTENT}/style.tbl ${QEL_ALMANAC_MEDIA}
            ${qel_agenda_pictures}
    DEPENDS diskbuild ${qel_almanac_data}/agenda.tbl ${QEL_STYLE_CONTENT}/style.tbl
    COMMENT "Almanac: Agenda.dat and the agenda's holidays and icons" VERBATIM)
add_custom_command(OUTPUT ${qel_almanac_stamps}/agenda-pictures.stamp
    COMMAND diskbuild pictures ${qel_agenda_pictures} ${QEL_ALMANAC_MEDIA}
    COMMAND ${CMAKE_COMMAND} -E touch ${qel_almanac_stamps}/agenda-pictures.stamp
    DEPENDS diskbuild ${qel_agenda_pictures}
    COMMENT "Almanac: agenda pictures" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_MEDIA}/Agenda.dat ${QEL_ALMANAC_MEDIA}/agferiad.tbl
                                ${QEL_ALMANAC_MEDIA}/agsignos.tbl ${qel_almanac_stamps}/agenda-pictures.stamp)

# The curiosities: their archive, category lists and pictures, and the source of their title
# index.
add_custom_command(OUTPUT ${QEL_ALMANAC_MEDIA}/DBCurio.dat ${QEL_ALMANAC_MEDIA}/CVSbCatL.dtt
                          ${qel_almanac_index_sources}/CDBIDLST.tbl
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA} ${qel_almanac_index_sources}
    COMMAND diskbuild curio ${qel_almanac_data} ${QEL_ALMANAC_MEDIA} ${qel_almanac_index_sources}
    DEPENDS diskbuild ${qel_almanac_curio_tables}
    COMMENT "Almanac: the curiosities" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_MEDIA}/DBCurio.dat ${QEL_ALMANAC_MEDIA}/CVSbCatL.dtt)
qel_add_index_file(almanac_index_CDBIDLST SOURCE ${qel_almanac_index_sources}/CDBIDLST.tbl
                   OUTPUT ${QEL_ALMANAC_MEDIA}/CDBIDLST.IDX)

# The infographic pages' pop-up sounds (their pictures are a pictures step of their own).
add_custom_command(OUTPUT ${qel_almanac_stamps}/infos-sounds.stamp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild intro ${QEL_ALMANAC_CONTENT}/infos.tbl ${PROJECT_SOURCE_DIR}/content/SOURCES.md ${QEL_ALMANAC_MEDIA}
    COMMAND ${CMAKE_COMMAND} -E touch ${qel_almanac_stamps}/infos-sounds.stamp
    DEPENDS diskbuild ${QEL_ALMANAC_CONTENT}/infos.tbl
    COMMENT "Almanac: the infographics' sounds" VERBATIM)
list(APPEND qel_almanac_outputs ${qel_almanac_stamps}/infos-sounds.stamp)

# The word search's keyword files, from the texts of the same tables.
add_custom_command(OUTPUT ${QEL_ALMANAC_MEDIA}/KeyWord.idx ${QEL_ALMANAC_MEDIA}/KeyWord.dat
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild keywords ${qel_almanac_data} ${QEL_ALMANAC_MEDIA}
    DEPENDS diskbuild ${qel_almanac_data}/verbetes.tbl ${qel_almanac_media_tables} ${qel_almanac_data}/atlas.tbl
            ${qel_almanac_curio_tables} ${qel_almanac_data}/ltempo.tbl ${qel_retro_source}
    COMMENT "Almanac: KeyWord.idx, KeyWord.dat" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_MEDIA}/KeyWord.idx ${QEL_ALMANAC_MEDIA}/KeyWord.dat)

# The timeline's events, checked against the era buttons of its screen.
add_custom_command(OUTPUT ${QEL_ALMANAC_MEDIA}/TimeLine.dat
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QEL_ALMANAC_MEDIA}
    COMMAND diskbuild ltempo ${qel_almanac_data}/ltempo.tbl ${QEL_ALMANAC_CONTENT}/screens/LTempoHF.frm
            ${QEL_ALMANAC_MEDIA}
    DEPENDS diskbuild ${qel_almanac_data}/ltempo.tbl ${QEL_ALMANAC_CONTENT}/screens/LTempoHF.frm
    COMMENT "Almanac: TimeLine.dat" VERBATIM)
list(APPEND qel_almanac_outputs ${QEL_ALMANAC_MEDIA}/TimeLine.dat)

add_custom_target(almanac_disk ALL DEPENDS ${qel_almanac_outputs})
foreach(index IN LISTS qel_almanac_indexes)
    add_dependencies(almanac_disk almanac_index_${index})
endforeach()
add_dependencies(almanac_disk almanac_index_JGIDList almanac_index_RTTitulo almanac_index_RTTit98 almanac_index_CDBIDLST)
