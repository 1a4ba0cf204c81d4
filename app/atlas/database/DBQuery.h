#pragma once

// The query state over one of the two statistical databases, the countries ("DBPaises") and the
// Brazilian states ("DBEstado"), and the operations a search is built from: fields chosen (an
// entry -n marks field n chosen but hidden), a criterion per field (the record numbers it
// selects), a sort field and direction, the values a field takes, and the evaluation into the
// result records.
//
// The records file is an archive whose item i is record i, a list of field values (string, int
// or float; "n.d." where a figure is missing). The value index file is an archive whose item 0
// is a table: field number as decimal text -> (value text -> list of record numbers); a field it
// lacks is searched by scanning the records. A value holding ";" is a multi-valued text whose
// parts are taken without their outer blanks.
//
// Criteria of different fields combine by AND (in the order the fields were chosen, hidden ones
// included); values given for one field combine by OR.
//
// Missing figures never satisfy a numeric filter: "n.d." is no number, not 0. Value lists built
// by scanning offer each part of a multi-valued text, and the parts of a criterion are taken
// without their outer blanks, so every value a list offers selects the records holding it.

#include "framework/runtime/Value.h"

#include <cstdint>

class DBQuery {
public:
    enum DatabaseKind : int32_t { Countries = 0, States = 1 };

    // Fields of each database after field 0 (the record's key).
    static constexpr int32_t countryFieldCount = 86;
    static constexpr int32_t stateFieldCount = 49;

    // Loads the database of that kind from the records and index archives found by the media
    // file locator; fieldSelection and criteria start empty.
    void load(int32_t kind);
    // The same from archives already open (tests, tools).
    void loadFrom(int32_t kind, const qelValue& dataArchive, const qelValue& indexArchive);
    // Drops the loaded database and the selection; no sort. The criteria stay until the next load.
    void unload();

    // The shown fields (the non-negative entries of fieldSelection), in their order.
    qelValue shownFields() const;
    // Evaluates the search: the result records, or nil when the criteria select no record (the
    // previous result is then kept).
    qelValue runQuery();
    // "Todos" followed by the distinct values of the field in collation order; nil for a field
    // outside 1 .. record length - 1.
    qelValue fieldValues(int32_t field) const;
    void addField(int32_t field);
    // Mode 0 hides the field, -1 toggles it, any other mode shows it.
    void setFieldShown(int32_t field, int32_t mode);
    void removeField(int32_t field);
    // The empty text: no sort; "Ascen": ascending; any other text: descending.
    void setSortOrder(int32_t field, const qelValue& order);
    // Adds the records whose field holds the text ("a;b" adds each part; "Todos" removes the
    // criterion).
    void addTextCriterion(int32_t field, const qelValue& text);
    // Replaces the field's criterion by the records whose figure compares so with x ("<", "<=",
    // "=", ">=", ">"); " " removes it.
    void filterNumeric(int32_t field, const qelValue& op, float x);
    void removeCriterion(int32_t field);

    const qelValue& records() const { return m_records; }
    const qelValue& resultRecords() const { return m_resultRecords; }
    const qelValue& fieldSelection() const { return m_fieldSelection; }
    const qelValue& criteria() const { return m_criteria; }
    int32_t fieldCount() const { return m_fieldCount; }
    int32_t sortField() const { return m_sortField; }
    int32_t databaseKind() const { return m_databaseKind; }
    int32_t sortDescending() const { return m_sortDescending; }

    // The record file and index file names of a kind ("DBPaises" or "DBEstado").
    static const char* fileName(int32_t kind);

protected:
    qelValue m_records;
    qelValue m_resultRecords;
    qelValue m_fieldSelection;
    qelValue m_criteria;
    int32_t m_fieldCount { 0 };
    int32_t m_sortField { 0 };
    int32_t m_databaseKind { 0 };
    int32_t m_sortDescending { 0 };
    qelValue m_dataArchive;
    qelValue m_valueIndex;

private:
    int32_t recordLength() const;
    // The field's table in the value index, or nil.
    qelValue indexedValues(int32_t field) const;
    qelValue matchingRecords(int32_t field, const qelValue& text) const;
    void addOneTextCriterion(int32_t field, const qelValue& text);
};

// The field's key in the criteria and the value index: its number as decimal text.
qelValue dbFieldKey(int32_t field);
// True for the missing value "n.d." (and for a nil value).
bool dbIsMissing(const qelValue& value);
