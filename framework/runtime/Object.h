#pragma once

#include "framework/runtime/Allocator.h"

#include <cstddef>
#include <cstdint>

class qelValue;

// The serial number of the last object made; the next object takes the next number. Serial
// numbers wrap after 2^32 objects; a wrapped serial only costs hash collisions, since equality of
// objects is by identity.
extern uint32_t qelLastObjectSerial;

// The root of every reference-counted object. Objects live in pooled memory (operator new and
// delete below) and are deleted when their count drops to 0. A freshly made object has count 0:
// qelMakeObjectValue gives it its first owner.
//
// Virtual operations, in this order: self, the (deleting) destructor, printString. Classes built
// by name (forms, controls) derive from qelNamedObject, which adds className and newInstance.
class qelObject {
public:
    qelObject()
        : m_serial(++qelLastObjectSerial)
    {
    }
    qelObject(const qelObject&) = delete;
    qelObject& operator=(const qelObject&) = delete;

    // A 32-bit number identifying the object; qelHash uses it. The root answers the serial number
    // taken at construction, so hashes (and so table slot order) are the same on every run.
    // Classes whose equality is by content answer a content hash instead.
    virtual int32_t self() const;
    virtual ~qelObject() = default;
    // The object's text form: "<" + type name + ">" when quoted, "<" + type name + " object>" for
    // display. Lists and tables print their elements.
    virtual qelValue printString(int32_t typeCode, int32_t quoted) const;

    uint32_t serial() const { return m_serial; }

    // Count management for owners that hold the object by raw pointer.
    void ref() { ++refCount; }
    void unref()
    {
        if (--refCount <= 0)
            delete this;
    }

    // A null result (memory refused and the fatal hook returned) skips construction.
    static void* operator new(size_t size) noexcept { return qelAlloc(size); }
    static void operator delete(void* pointer, size_t size) { qelFree(pointer, size); }

    // The number of handles and other owners holding the object.
    int32_t refCount = 0;

private:
    uint32_t m_serial;
};

// The base of every class that the class registry makes by name.
class qelNamedObject : public qelObject {
public:
    // The class's registered name.
    virtual const char* className() const = 0;
    // A new object of the same class made from a data value, with count 0 (wrap it with
    // qelMakeObjectValue). The registry calls this on its prototype.
    virtual qelNamedObject* newInstance(const qelValue& data) = 0;
};
