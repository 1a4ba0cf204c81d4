#pragma once

// What the generic value operations ask of objects whose classes live in later layers. Each such
// class implements the interface beside its object root; an object of the right type code that
// does not implement it makes the operation give its neutral result.
//
//   sounds (19) and movies (20)   qelMediaProtocol
//   controls (22) and forms (23)  qelPropertyProtocol
//   archives (24)                 qelArchiveProtocol
//   references (26)               qelReferenceProtocol
//   regions (11)                  qelRegionProtocol
// Streams (10) answer their size through qelStreamObject; indexes (25): IndexProtocol.h.

#include "framework/runtime/Value.h"

#include <cstdint>

class qelMediaProtocol {
public:
    virtual ~qelMediaProtocol() = default;
    // `self` is the value holding the object; from and to are positions, -1 for the end.
    virtual int32_t play(const qelValue& self, int32_t from, int32_t to, int32_t repeat) = 0;
    virtual int32_t stop() = 0;
    virtual int32_t isPlaying() = 0;
    // A movie's length (its qelCount); sounds answer 0.
    virtual int32_t length() = 0;
    virtual int32_t show() = 0;
    virtual int32_t hide() = 0;
    virtual int32_t move(int32_t x, int32_t y) = 0;
    virtual int32_t resize(int32_t width, int32_t height) = 0;
};

class qelPropertyProtocol {
public:
    virtual ~qelPropertyProtocol() = default;
    // The value in slot n of the property table (nil without one).
    virtual qelValue propertyAt(int32_t slot) = 0;
    virtual qelValue getProperty(const qelValue& key) = 0;
    virtual void setProperty(const qelValue& key, const qelValue& value) = 0;
    virtual void removeProperty(const qelValue& key) = 0;
    // Nonzero when the key is present.
    virtual int32_t hasProperty(const qelValue& key) = 0;
};

class qelArchiveProtocol {
public:
    virtual ~qelArchiveProtocol() = default;
    // The number of items.
    virtual int32_t count() = 0;
    // Item n decoded.
    virtual qelValue get(int32_t index) = 0;
    // Replaces item n.
    virtual void put(int32_t index, const qelValue& value) = 0;
    // Appends a new item.
    virtual void add(const qelValue& value) = 0;
};

class qelReferenceProtocol {
public:
    virtual ~qelReferenceProtocol() = default;
    // The value that the reference names (nil when it cannot be found).
    virtual qelValue resolve() = 0;
};

class qelRegionProtocol {
public:
    virtual ~qelRegionProtocol() = default;
    // A new region value equal to this one.
    virtual qelValue copy() const = 0;
};
