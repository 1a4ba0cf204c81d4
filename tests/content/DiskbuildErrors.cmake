# diskbuild refuses content that would put a wrong disk together, saying why and leaving no file:
# an authored screen of another class than its registration's, an entry page that names a
# category the entries' table should, an entry naming a picture that no media record has or a
# sub-category its table does not declare, a media picture that was never drawn, a curiosity of
# an unknown category or with a title given twice; a timeline event earlier than the one before
# it, or a timeline screen whose era button does not hold its era's events.
#   -DDISKBUILD= -DWORK=scratch folder
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/data ${WORK}/media ${WORK}/sources)

function(expect_failure what pattern)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
    if(status EQUAL 0)
        message(FATAL_ERROR "${what}: diskbuild succeeded")
    endif()
    if(NOT errors MATCHES "${pattern}")
        message(FATAL_ERROR "${what}: the message \"${errors}\" does not match \"${pattern}\"")
    endif()
endfunction()

file(WRITE ${WORK}/Quit.frm "(table (\"Class\" \"PrefsDlg\") (\"Control List\" (list)))\n")
expect_failure("a screen of another class" "\"Class\" must be QuitDlg, as QuitDlg is registered"
    ${DISKBUILD} screen QuitDlg QuitDlg shell ${WORK}/Quit.frm -o ${WORK}/media/Quit.etn)
if(EXISTS ${WORK}/media/Quit.etn OR EXISTS ${WORK}/media/Quit.etn.tmp)
    message(FATAL_ERROR "a refused screen left a file")
endif()

# The entry page's category names come from the entries' table only.
file(WRITE ${WORK}/VrbtForm.frm "(table (\"Class\" \"VerbeteForm\") (\"Cat1\" (list 1 \"Outra\")))\n")
file(WRITE ${WORK}/categorias.tbl "(table (\"Categorias\" (list (list \"Artes\" (list (list 1 \"Musica\"))))))\n")
expect_failure("an entry page naming a category itself" "\"Cat1\" comes from the entries' \"Categorias\""
    ${DISKBUILD} entryscreen VerbeteForm VerbeteForm verbetes ${WORK}/VrbtForm.frm ${WORK}/categorias.tbl
    -o ${WORK}/media/VrbtForm.etn)
if(EXISTS ${WORK}/media/VrbtForm.etn)
    message(FATAL_ERROR "a refused entry page left a file")
endif()

file(WRITE ${WORK}/data/midias.tbl "(table (\"Midias\" (list (table (\"Nome\" \"Samba\") (\"Tipo\" 3) (\"Arquivo\" \"\")
    (\"Legenda\" \"\") (\"Texto\" \"x\") (\"Verbetes\" \"\")))))\n")
file(WRITE ${WORK}/data/atlas.tbl "(table (\"Atlas\" (list)))\n")
file(WRITE ${WORK}/data/verbetes.tbl "(table (\"Categorias\" (list (list \"Artes\" (list (list 1 \"Música\")))))
    (\"Verbetes\" (list (table (\"Titulo\" \"Samba\") (\"Nome\" \"Samba\")
    (\"Categoria\" 1) (\"Texto\" \"x\") (\"VejaTambem\" \"\") (\"Fotos\" (list \"nada.bmp\"))))))\n")
expect_failure("an entry's picture without a media record" "verbetes.tbl entry 1: the picture nada.bmp is no media file"
    ${DISKBUILD} data ${WORK}/data ${WORK}/media ${WORK}/sources)
if(EXISTS ${WORK}/media/Verbetes.DAT)
    message(FATAL_ERROR "a refused entry table left its archive")
endif()

file(READ ${WORK}/data/verbetes.tbl entries)
string(REPLACE "(list \"nada.bmp\")" "nil" entries "${entries}")
string(REPLACE "(\"Categoria\" 1)" "(\"Categoria\" 2)" entries "${entries}")
file(WRITE ${WORK}/data/verbetes.tbl "${entries}")
expect_failure("an entry of an undeclared sub-category" "the sub-category 2 is not in \"Categorias\""
    ${DISKBUILD} data ${WORK}/data ${WORK}/media ${WORK}/sources)

file(WRITE ${WORK}/data/midias.tbl "(table (\"Midias\" (list (table (\"Nome\" \"Foto\") (\"Tipo\" 4) (\"Arquivo\" \"foto.bmp\")
    (\"Legenda\" \"\") (\"Verbetes\" \"\")))))\n")
expect_failure("a media picture never drawn" "midias.tbl item 1: no picture foto.bmp in the media folder"
    ${DISKBUILD} data ${WORK}/data ${WORK}/media ${WORK}/sources)

file(MAKE_DIRECTORY ${WORK}/curio)
file(WRITE ${WORK}/curio/curio.tbl "(table (\"Curiosidades\" (list (table (\"Categoria\" \"Culinária\") (\"Titulo\" \"A\")
    (\"Texto\" \"x\")))))\n")
expect_failure("a curiosity of an unknown category" "curiosity 1: \"Categoria\" must name one of the ten categories"
    ${DISKBUILD} curio ${WORK}/curio ${WORK}/media ${WORK}/sources)
file(WRITE ${WORK}/curio/curio.tbl "(table (\"Curiosidades\" (list (table (\"Categoria\" \"Artes\") (\"Titulo\" \"A\")
    (\"Texto\" \"x\")) (table (\"Categoria\" \"Saúde\") (\"Titulo\" \"A\") (\"Texto\" \"y\")))))\n")
expect_failure("two curiosities of one title" "curiosity 2: the title is given twice"
    ${DISKBUILD} curio ${WORK}/curio ${WORK}/media ${WORK}/sources)
if(EXISTS ${WORK}/media/DBCurio.dat)
    message(FATAL_ERROR "a refused curiosity table left its archive")
endif()

# A timeline of one event an era; the screen's buttons hold the eras as the table numbers them.
set(eras BigBang PreHistória Antiguidade IdadeMédia IdadeModerna IdadeContemporânea)
set(years -5000 -4000 -3000 1000 1600 1900)
set(timeline "(table (\"Eras\" (list")
set(screen "(table (\"Class\" \"LinhaTempoForm\")")
foreach(era RANGE 5)
    list(GET eras ${era} name)
    list(GET years ${era} year)
    string(APPEND timeline " (table (\"Nome\" \"${name}\") (\"Eventos\" (list (list ${year} \"Um fato\"))))")
    string(APPEND screen " (\"${name}\" (control (\"Class\" \"Button\") (\"TypeID\" ${era}) (\"Begin\" ${era}) (\"End\" ${era})))")
endforeach()
file(WRITE ${WORK}/LTempoHF.frm "${screen})\n")
file(WRITE ${WORK}/data/ltempo.tbl "${timeline})))\n")
execute_process(COMMAND ${DISKBUILD} ltempo ${WORK}/data/ltempo.tbl ${WORK}/LTempoHF.frm ${WORK}/media
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT EXISTS ${WORK}/media/TimeLine.dat)
    message(FATAL_ERROR "a sound timeline was refused: ${errors}")
endif()
file(REMOVE ${WORK}/media/TimeLine.dat)
string(REPLACE "1600" "900" disordered "${timeline}")
file(WRITE ${WORK}/data/ltempo.tbl "${disordered})))\n")
expect_failure("a timeline event out of order" "ltempo.tbl: era 5 event 1: earlier than the event before it"
    ${DISKBUILD} ltempo ${WORK}/data/ltempo.tbl ${WORK}/LTempoHF.frm ${WORK}/media)
string(REPLACE "(\"Begin\" 3) (\"End\" 3)" "(\"Begin\" 3) (\"End\" 4)" wrong "${screen}")
file(WRITE ${WORK}/LTempoHF.frm "${wrong})\n")
file(WRITE ${WORK}/data/ltempo.tbl "${timeline})))\n")
expect_failure("an era button that does not hold its era" "the button IdadeM.*dia must hold \\(\"TypeID\" 3\\) \\(\"Begin\" 3\\) \\(\"End\" 3\\)"
    ${DISKBUILD} ltempo ${WORK}/data/ltempo.tbl ${WORK}/LTempoHF.frm ${WORK}/media)
if(EXISTS ${WORK}/media/TimeLine.dat)
    message(FATAL_ERROR "a refused timeline left its archive")
endif()
