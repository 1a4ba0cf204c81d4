#pragma once

// The quiz game's content, from content/almanac/jogo/jogo.tbl:
//
//   into MEDIA:
//     Jogo.DAT                 the questions: [key, question, option 1, option 2, option 3,
//                              right option]; a scene's n-th question button has the id 10 n
//                              counted over the whole game, and its levels the keys id + 1 to
//                              id + 3; the end scene's recovery questions the keys 1 to 3
//     jogoNN.bmp               each scene's picture (640 x 480): its title band and its theme
//     jgpop_<name>.bmp         the pop-up pictures of "Quadros"
//     jgnivel1..3.bmp, jgdlg_<dialog>.bmp, jgok.bmp
//                              the dialogs' backgrounds and the mark of the right option
//     Sounds/JogSTNN.wav       each scene's looping soundtrack (a short tune of its own)
//     Sounds/JogLocNN.wav      each scene's opening call, played once
//     Sounds/Acerto.wav, Erro.wav   the right and the wrong answer
//   into SOURCES:
//     JGIDList.tbl             question key (decimal text) -> item of Jogo.DAT, for qelidx
//
// The build stops at a question that is not (list text option option option 1..3), at a scene
// button without its three levels, and at a key given twice.

#include <string>

bool buildQuiz(const std::string& sourcePath, const std::string& mediaFolder, const std::string& sourcesFolder,
    std::string& error);
