#pragma once

// The disk's sources are UTF-8 text; the program's strings are cp1252.

#include "framework/runtime/Value.h"
#include "tools/diskbuild/Failure.h"

#include <string>
#include <vector>

// The value written in a text-notation file, its text turned from UTF-8 into cp1252. Nil, with
// the reason in `error`, when the file cannot be read.
qelValue readNotationFile(const std::string& path, std::string& error);

// As readNotationFile, for a file that must hold a table: throws Failure when it cannot be read
// or holds anything else.
qelValue readTable(const std::string& path);

// The value under the key; nil when there is none or `table` is no table.
qelValue field(const qelValue& table, const char* key);

// Writes the values, in order, as the items of a new archive file (a file of that name is
// replaced). False, with the reason in `error`, when it cannot be written.
bool writeArchiveFile(const std::string& path, const std::vector<qelValue>& values, std::string& error);

// The tables of one kind of content: FOLDER/STEM.tbl, then every FOLDER/STEM-<part>.tbl in name
// order, so each section of the disk can keep its items in a file of its own; the items' numbers
// run on across the files in this order. Only the files that exist are listed.
// Writes the bytes as the whole file at path; throws Failure when it cannot be written.
void writeDiskFile(const std::string& path, const std::string& bytes);
void writeDiskFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Writes a text-notation file of the sources from its cp1252 text, as UTF-8 like every source;
// throws Failure when it cannot be written.
void writeNotationFile(const std::string& path, const std::string& cp1252);

// As writeArchiveFile, throwing Failure when the file cannot be written.
void writeArchive(const std::string& path, const std::vector<qelValue>& values);

std::vector<std::string> tableFamily(const std::string& folder, const std::string& stem);

// The text as a string of the text notation: in double quotes, a quote or backslash escaped.
std::string notationQuoted(const std::string& text);
