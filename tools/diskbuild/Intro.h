#pragma once

// The media of the opening sequence, of the credits and of the text pages, made from one
// description table
// (content/almanac/intro.tbl, text notation):
//
//   "Movies"   list of tables, one per movie:
//                "File" the ".avi" name; "Folder" (optional) a folder of the output folder to
//                put it in; "Width", "Height" (even); "Fps"; "Frames";
//                "Picture" a picture description (Pictures.h) drawn under every frame;
//                "Slides" list of (list text fromX fromY toX toY font colour): texts that move in
//                a straight line over the first three quarters of the frames, then stay
//   "Sounds"   list of tables, one per WAV file (22050 Hz, 16-bit mono):
//                "File"; "Folder" (optional) a folder of the output folder to put it in;
//                "NoteMs" the length of a note; "Notes" list of MIDI note numbers (0 a
//                rest), played one after another with a soft attack and release
//   "Pictures" table: file name -> picture description, the screens' own pictures (8 bits when
//              they have few colours)
//   "Credits"  table: "File" and "Mask" (".bmp" names), "Picture" a picture description (its
//                "Texts" the credits' lines), "Sources" true to add, below the last text, the
//                lines of each data set of ../SOURCES.md's table (package and version, then
//                each part of the licence),
//                "SourcesFont", "SourcesColor", "LineHeight"
//
// The credits picture is drawn on black; its mask is black wherever the picture is not, white
// elsewhere, so that the picture shows only its texts over the screen.

#include <string>

// Writes every file of the description into `folder`; `sources` is the SOURCES.md file. False
// with the reason on failure.
bool buildIntro(const std::string& descriptionPath, const std::string& sources, const std::string& folder,
    std::string& error);
