#include "object/Class.h"

namespace vardel::object {

Class::Class(const Object& object) : name(object.className()) {}

types::String Class::getName() const
{
    return name;
}

types::String Class::toString() const
{
    return name;
}

} // namespace vardel::object
