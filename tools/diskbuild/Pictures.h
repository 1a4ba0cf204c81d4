#pragma once

// Draws the pictures of a description table onto surfaces. The table maps each output file name
// to the description of its picture (every key optional except the size):
//
//   "Width", "Height"   int                the size in pixels
//   "Color"             colour (rgb r g b)  the fill, white by default
//   "Border"            colour              a frame around the picture ...
//   "BorderWidth"       int                 ... this many pixels wide (default 1)
//   "Boxes"             list of (list x y w h colour)          filled rectangles
//   "Shapes"            list of (list "polygon" colour x y x y ...) and (list "ellipse" colour x y w h):
//                       filled vector shapes, drawn after the boxes (icons)
//   "Texts"             list of (list text x y font colour)    text on one line; x or y -1
//                                                               centres it on that axis (x -1:
//                                                               a point smaller while it would
//                                                               come within 4 pixels of a side)
//   "Bits"              int                8: stored as an 8-bit bitmap with its palette (".dib"
//                                           pictures always are)
//   "HotX", "HotY"      int                 a cursor's hot spot ("cur" files)
//   "Transparent"       colour              a cursor's pixels of this colour show the screen
//
// Colours are 0x00BBGGRR like the framework's; fonts are font values ("(font "Arial" 14 2)").

#include "framework/runtime/Value.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/Surface.h"
#include "tools/diskbuild/Failure.h"

#include <string>

// The surface as an 8-bit bitmap whose colour table holds its colours in the order they first
// appear (rows from the top); empty when it has more than 256 colours.
platform::gfx::Dib indexedDib(const platform::gfx::Surface& surface);

// Draws the description; false (with the reason) when it has no usable size.
bool drawPicture(const qelValue& description, platform::gfx::Surface& surface, std::string& error);

// Writes the surface to `path` as a bitmap: 8 bits with its palette when it has few colours (a
// quarter of the bytes), else 24 bits. False with the reason on failure.
bool writeBitmapFile(const platform::gfx::Surface& surface, const std::string& path, std::string& error);

// Draws a description given in text notation (cp1252) and writes it to `path` as a bitmap: 8
// bits with its palette when it has few colours (a quarter of the bytes), else 24 bits. False
// with the reason on failure.
bool writePictureFile(const std::string& description, const std::string& path, std::string& error);
// As writePictureFile, throwing Failure when the picture cannot be drawn or written.
void drawTo(const std::string& description, const std::string& path);
