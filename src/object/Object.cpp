#include "object/Object.h"

#include "object/Class.h"
#include "types/String.h"

namespace vardel::object {

Object::Object() : refCount(1), attachments(nullptr) {}

Object::Object(const Object&) : refCount(1), attachments(nullptr) {}

Object::~Object()
{
    while (attachments) {
        Attachment* next = attachments->next;
        delete attachments;
        attachments = next;
    }
    refCount.fetch_sub(1, std::memory_order_relaxed);
}

types::String Object::getName() const
{
    return Class(*this).getName();
}

types::String Object::toString() const
{
    return Class(*this).toString();
}

bool Object::isValid() const
{
    return true;
}

types::String Object::className() const
{
    return classPath();
}

types::String Object::classPath()
{
    return types::String("Object");
}

void Object::retain()
{
    refCount.fetch_add(1, std::memory_order_relaxed);
}

void Object::release()
{
    // The release that takes the count from 1 destroys; the destructor then leaves it at 0.
    if (refCount.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        refCount.store(1, std::memory_order_relaxed);
        delete this;
    }
}

} // namespace vardel::object
