#pragma once

#include <atomic>
#include <cstdint>

namespace vardel::types {
class String;
}

namespace vardel::object {

// Root of every class with virtual operations: an intrusive reference count and a class path.
// Every class keeps these five virtual operations first and adds its own after them.
class Object {
public:
    // A node of the attachment list: one value, then the next node.
    struct Attachment {
        void* value;
        Attachment* next;
    };

    Object();
    // A copy is a new object: it starts with its own single reference and no attachments.
    Object(const Object& other);
    Object& operator=(const Object&) { return *this; }

    virtual ~Object();
    virtual types::String getName() const;
    virtual types::String toString() const;
    virtual bool isValid() const;
    virtual types::String className() const;

    static types::String classPath();

    // Reference counting
    void retain();
    void release();

    // Atomic so that objects handed between threads keep an exact count.
    std::atomic<std::int32_t> refCount;
    Attachment* attachments;
};

} // namespace vardel::object

// Declares the static classPath() and the className() override of a class: the parent's path
// followed by ":" and the class's bare name. Leaves the access at public.
#define VARDEL_CLASS_PATH(Parent, Name)                                                    \
public:                                                                                    \
    static ::vardel::types::String classPath() { return Parent::classPath() + ":" #Name; } \
    ::vardel::types::String className() const override { return classPath(); }
