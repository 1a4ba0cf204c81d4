#pragma once

// The form and control factories: a data table whose "Class" names a registered class becomes an
// object of that class, made by the class's prototype in the registry "Classes"; a class the
// registry does not hold gives a plain form or control. The object keeps the data table itself
// as its property table, so a form or control made twice from one table shares it.

#include "framework/runtime/Value.h"

// A form value over the data. Its name is what its class gave it, else the data's "Name"
// (resolved), else its class name.
qelValue qelMakeFormFromData(const qelValue& data);
// A control value over the data. Data without "Class" is the error "Control data must have a
// 'Class' property:\n" + the data's text.
qelValue qelMakeControl(const qelValue& data);
// A form over a new table of "Class", "Resource Table" and "Name" (nil allowed).
qelValue qelMakeForm(const qelValue& className, const qelValue& resourceTable, const qelValue& name);
