#pragma once

#include "object/Object.h"

#include <cstdint>

namespace vardel::types {

// Owned, zero-terminated 8-bit text with value semantics: copies never share a buffer, and an
// empty string holds no buffer at all.
class String : public object::Object {
    VARDEL_CLASS_PATH(object::Object, String)

    String();
    String(const char* text);
    String(const String& other);
    String(String&& other) noexcept;
    ~String() override;

    String& operator=(const String& other);
    String& operator=(const char* text);
    String& operator+=(const char* text);

    friend String operator+(const String& a, const char* b);
    friend String operator+(const String& a, const String& b);
    bool operator==(const String& other) const;
    bool operator==(const char* text) const;

    // The characters, or "" when the string holds no buffer.
    const char* chars() const;
    String toLowerCase() const;

    String getName() const override;
    String toString() const override;

    // Bytes to allocate for a text of the given length: none for 0, 64 below 64, otherwise the
    // first quarter step of the highest power of two (at most 2^28) that exceeds the length.
    static std::uint32_t capacityFor(std::uint32_t length);

    char* data;
    std::uint32_t capacity;
    std::uint32_t length;

private:
    // Replaces the contents with the given characters, reusing the buffer when they fit.
    void assign(const char* text, std::uint32_t count);
    // Allocates a buffer by the capacity rule and fills it with a followed by b.
    void build(const char* a, std::uint32_t aCount, const char* b, std::uint32_t bCount);
    void freeBuffer();
};

} // namespace vardel::types
