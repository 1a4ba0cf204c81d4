# Builds the disk's files twice into two folders with the build's own tools and compares them
# byte for byte: pictures, globals, a screen and a dialog placeholder, the entry page, archives,
# category lists, the curiosities and every index.
#   -DDISKBUILD= -DQELIDX= -DCONTENT=content folder -DWORK=scratch folder
file(REMOVE_RECURSE ${WORK})
set(indexes GNRNList VDBLstID VDBNList VDBIDLst VDBName MDBLstID MDBFName MDBName MDBNList MDBIDLst MDBIDLt2
            ATNamLst ATIDList CDBIDLST)

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${ARGN}: ${status} ${errors}")
    endif()
endfunction()

foreach(round a b)
    set(media ${WORK}/${round}/Media)
    set(sources ${WORK}/${round}/sources)
    file(MAKE_DIRECTORY ${media} ${sources})
    run(${DISKBUILD} look ${CONTENT}/style/style.tbl ${media})
    file(GLOB picture_tables ${CONTENT}/almanac/pictures*.tbl)
    foreach(table IN LISTS picture_tables)
        run(${DISKBUILD} pictures ${table} ${media})
    endforeach()
    run(${DISKBUILD} pictures ${CONTENT}/style/cursors.tbl ${media})
    run(${DISKBUILD} pictures ${CONTENT}/almanac/maps/mundo.tbl ${media})
    run(${DISKBUILD} atlas ${CONTENT}/almanac/maps/atlas.tbl ${CONTENT}/almanac/maps/formas.tbl ${media})
    run(${DISKBUILD} global ${CONTENT}/almanac/global.tbl ${CONTENT}/almanac/screens.txt -o ${media}/global.etn)
    run(${DISKBUILD} screen VerbHForm VerbHForm verbetes -o ${media}/VerbHF.etn)
    run(${DISKBUILD} screen QuitDlg QuitDlg shell -o ${media}/Quit.etn)
    run(${DISKBUILD} entryscreen VerbeteForm VerbeteForm verbetes ${CONTENT}/almanac/screens/VrbtForm.frm
        ${CONTENT}/almanac/data/verbetes.tbl -o ${media}/VrbtForm.etn)
    run(${DISKBUILD} data ${CONTENT}/almanac/data ${media} ${sources})
    run(${DISKBUILD} curio ${CONTENT}/almanac/data ${media} ${sources})
    run(${DISKBUILD} agenda ${CONTENT}/almanac/data/agenda.tbl ${CONTENT}/style/style.tbl ${media}
        ${sources}/agenda-pictures.tbl)
    run(${DISKBUILD} pictures ${sources}/agenda-pictures.tbl ${media})
    run(${DISKBUILD} ltempo ${CONTENT}/almanac/data/ltempo.tbl ${CONTENT}/almanac/screens/LTempoHF.frm ${media})
    foreach(index IN LISTS indexes)
        run(${QELIDX} build ${sources}/${index}.tbl -o ${media}/${index}.IDX)
    endforeach()
endforeach()

file(GLOB_RECURSE built RELATIVE ${WORK}/a ${WORK}/a/*)
list(LENGTH built count)
if(count LESS 100)
    message(FATAL_ERROR "only ${count} files were built")
endif()
foreach(file IN LISTS built)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/a/${file} ${WORK}/b/${file}
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "${file} differs between two builds")
    endif()
endforeach()
message(STATUS "${count} files built twice, the same bytes")
