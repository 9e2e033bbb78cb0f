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
        // What is attached.
        void* value;
        // The next node, or null.
        Attachment* next;
    };

    Object();
    // A copy is a new object: it starts with its own single reference and no attachments.
    Object(const Object& other);
    // Assigning changes nothing: the count and the attachments stay the object's own.
    Object& operator=(const Object&) { return *this; }

    virtual ~Object();
    // A short name of the object; by default its class path.
    virtual types::String getName() const;
    // The object as text; by default its class path.
    virtual types::String toString() const;
    // Whether the object is in a usable state; true unless a class says otherwise.
    virtual bool isValid() const;
    // The class path of the object's own class, such as "Object:Exception:IOException".
    virtual types::String className() const;

    // The class path of this class: "Object".
    static types::String classPath();

    // Reference counting
    // Takes one more reference on the object.
    void retain();
    // Drops one reference; the last one destroys the object.
    void release();

    // Atomic so that objects handed between threads keep an exact count.
    std::atomic<std::int32_t> refCount;
    // Values attached to the object, freed with it; null when there are none.
    Attachment* attachments;
};

} // namespace vardel::object

// Declares the static classPath() and the className() override of a class: the parent's path
// followed by ":" and the class's bare name. Leaves the access at public.
#define VARDEL_CLASS_PATH(Parent, Name)                                                    \
public:                                                                                    \
    static ::vardel::types::String classPath() { return Parent::classPath() + ":" #Name; } \
    ::vardel::types::String className() const override { return classPath(); }
