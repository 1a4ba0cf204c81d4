#pragma once

// The user's saved searches over the country and state databases: one file per database in the
// user folder, "Pesq" + the first four letters of the database name with accents folded +
// ".DTT" ("Países" and "Paises" both keep theirs in PesqPais.DTT). The file is an archive
// holding one item: the list of saved-search tables in the order they were added, each with at
// least "Name" (its key) and "Contents" (the lines that describe it), the rest being the
// search's definition, stored as it is given.
//
// The list of the database last asked for is kept (one for the whole program) and is the very
// list callers hold: adding and removing change it in place and rewrite the file whole. The
// file is replaced through a temporary file, so a failed write keeps the searches stored before
// it (and is told on the debugger output). A file that does not read back as a list of searches
// is moved aside as "Pesq????.BAD" and the database starts with no searches; the files of the
// other databases are not touched. Entries that are not tables with a text "Name" are left out.

#include "framework/runtime/Value.h"

#include <functional>

// The saved searches of the database (the cached list when it is that database's).
qelValue loadSavedSearches(const qelValue& databaseName);
// Adds the search (a table with "Name"), replacing one of the same name once the user agrees,
// at the end of the list, and saves the file. A table without "Name" changes nothing.
void addSavedSearch(const qelValue& databaseName, const qelValue& search);
// Removes that very table from the database's list and saves the file.
void removeSavedSearch(const qelValue& databaseName, const qelValue& search);
// Writes the cached list to its database's file.
void saveSavedSearches();
// Forgets the cached list (the program's exit; tests).
void releaseSavedSearches();

// The path of a database's file, and the name a damaged one is moved aside to.
qelValue savedSearchPath(const qelValue& databaseName);
qelValue savedSearchAsideName(const qelValue& databaseName);

// Asks whether a saved search of the same name may be replaced; the default runs the yes/no
// dialog "PsqJEDlg", whose answer "Não" keeps the old one. Tests put their own answer here.
using SavedSearchConfirm = std::function<bool()>;
void setSavedSearchConfirm(SavedSearchConfirm confirm);

