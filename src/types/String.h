#pragma once

#include "object/Object.h"

#include <cstdint>

namespace vardel::types {

// Owned, zero-terminated 8-bit text with value semantics: copies never share a buffer, and an
// empty string holds no buffer at all.
class String : public object::Object {
    VARDEL_CLASS_PATH(object::Object, String)

    String();
    // A copy of the zero-terminated text; null is taken as empty.
    String(const char* text);
    // A copy with a buffer of its own.
    String(const String& other);
    // Takes over other's buffer and leaves other empty.
    String(String&& other) noexcept;
    ~String() override;

    // Replaces the text with a copy of other's.
    String& operator=(const String& other);
    // Replaces the text with a copy of text; null is taken as empty.
    String& operator=(const char* text);
    // Appends text.
    String& operator+=(const char* text);

    // The concatenation of a and b.
    friend String operator+(const String& a, const char* b);
    // The concatenation of a and b.
    friend String operator+(const String& a, const String& b);
    // Whether both hold the same characters.
    bool operator==(const String& other) const;
    // Whether the string holds the characters of text.
    bool operator==(const char* text) const;

    // The characters, or "" when the string holds no buffer.
    const char* chars() const;
    // A copy with ASCII capitals made small.
    String toLowerCase() const;

    // The text itself.
    String getName() const override;
    // The text itself.
    String toString() const override;

    // Bytes to allocate for a text of the given length: none for 0, 64 below 64, otherwise the
    // first quarter step of the highest power of two (at most 2^28) that exceeds the length.
    static std::uint32_t capacityFor(std::uint32_t length);

    // The characters and their terminator, or null when the string is empty.
    char* data;
    // Bytes allocated for data, following capacityFor().
    std::uint32_t capacity;
    // Characters before the terminator.
    std::uint32_t length;

private:
    // Replaces the contents with the given characters, reusing the buffer when they fit.
    void assign(const char* text, std::uint32_t count);
    // Allocates a buffer by the capacity rule and fills it with a followed by b.
    void build(const char* a, std::uint32_t aCount, const char* b, std::uint32_t bCount);
    void freeBuffer();
};

} // namespace vardel::types
