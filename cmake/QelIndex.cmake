# qel_add_index_file(NAME SOURCE src OUTPUT out) — builds the index file `out` from `src`, a table
# in text notation (key -> value), with qelidx as part of the build (target NAME, in ALL). The
# file is rebuilt when the source or the tool changes; the same source gives the same bytes.
function(qel_add_index_file name)
    cmake_parse_arguments(I "" "SOURCE;OUTPUT" "" ${ARGN})
    get_filename_component(folder ${I_OUTPUT} DIRECTORY)
    add_custom_command(OUTPUT ${I_OUTPUT}
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
                       COMMAND qelidx build ${I_SOURCE} -o ${I_OUTPUT}
                       DEPENDS qelidx ${I_SOURCE}
                       COMMENT "Building index ${I_OUTPUT}"
                       VERBATIM)
    add_custom_target(${name} ALL DEPENDS ${I_OUTPUT})
endfunction()
