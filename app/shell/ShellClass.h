#pragma once

// The boilerplate every almanac class shares: its registered class name, the constructor from a
// data value (which becomes the instance's property table; nothing is loaded before open) and
// the new instance the class registry asks the prototype for.
//
//     class QuitDlg : public qelMediaDialogObject {
//         VELARIM_CLASS(QuitDlg, qelMediaDialogObject)
//     public:
//         ...
//     };

#define VELARIM_CLASS(Name, Base)                                                                     \
public:                                                                                              \
    explicit Name(const qelValue& data = qelNil)                                                     \
        : Base(data)                                                                                 \
    {                                                                                                \
    }                                                                                                \
    const char* className() const override { return #Name; }                                        \
    qelNamedObject* newInstance(const qelValue& data) override { return new Name(data); }           \
                                                                                                     \
private:
