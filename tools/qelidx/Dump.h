#pragma once

// Prints a record file as stored: the header fields, then every page with its entries.
// Returns 0, or 1 when the file cannot be read as a record file.
int dumpRecordFile(const char* path);
