#include "object/Exception.h"

namespace vardel::object {

Exception::Exception(const char* message) : message(message) {}

Exception::Exception(const Exception& other) : Object(other), message(other.message) {}

types::String Exception::getName() const
{
    return types::String("Exception");
}

types::String Exception::toString() const
{
    return message;
}

} // namespace vardel::object
