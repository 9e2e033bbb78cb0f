#pragma once

#include "object/Object.h"
#include "types/String.h"

namespace vardel::object {

// Root of everything the system throws. Thrown by value, caught by reference.
class Exception : public Object {
    VARDEL_CLASS_PATH(Object, Exception)

    // An exception carrying message.
    explicit Exception(const char* message);
    // A copy carrying the same message.
    Exception(const Exception& other);

    // The class's own short name.
    types::String getName() const override;
    // The message.
    types::String toString() const override;

    // What went wrong, for people.
    types::String message;
};

} // namespace vardel::object

// Declares an exception class: made without a message it carries its own short name.
#define VARDEL_EXCEPTION(Name, Parent)                                              \
    class Name : public Parent {                                                    \
        VARDEL_CLASS_PATH(Parent, Name)                                             \
        Name() : Parent(#Name) {}                                                   \
        explicit Name(const char* message) : Parent(message) {}                     \
        ::vardel::types::String getName() const override { return #Name; }          \
    }
