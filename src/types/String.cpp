#include "types/String.h"

#include <cctype>
#include <cstring>
#include <new>

namespace vardel::types {

namespace {

std::uint32_t measure(const char* text)
{
    std::size_t n = text ? std::strlen(text) : 0;
    if (n > UINT32_MAX) {
        throw std::bad_alloc();
    }
    return static_cast<std::uint32_t>(n);
}

} // namespace

std::uint32_t String::capacityFor(std::uint32_t length)
{
    if (length == 0) {
        return 0;
    }
    if (length < 64) {
        return 64;
    }
    std::uint64_t h = 1;
    while (h * 2 <= length && h < 0x10000000u) {
        h *= 2;
    }
    std::uint64_t step = h / 4;
    std::uint64_t result = h;
    if (result <= length) {
        result += ((length - result) / step + 1) * step;
    }
    if (result > UINT32_MAX) {
        throw std::bad_alloc();
    }
    return static_cast<std::uint32_t>(result);
}

String::String() : data(nullptr), capacity(0), length(0) {}

String::String(const char* text) : String()
{
    assign(text, measure(text));
}

String::String(const String& other) : Object(other), data(nullptr), capacity(0), length(0)
{
    assign(other.data, other.length);
}

String::String(String&& other) noexcept
    : Object(other), data(other.data), capacity(other.capacity), length(other.length)
{
    other.data = nullptr;
    other.capacity = 0;
    other.length = 0;
}

String::~String()
{
    freeBuffer();
}

String& String::operator=(const String& other)
{
    if (this != &other) {
        assign(other.data, other.length);
    }
    return *this;
}

String& String::operator=(const char* text)
{
    if (text != data) {
        assign(text, measure(text));
    }
    return *this;
}

String& String::operator+=(const char* text)
{
    std::uint32_t count = measure(text);
    if (count == 0) {
        return *this;
    }
    if (!data) {
        assign(text, count);
        return *this;
    }
    if (std::uint64_t(length) + count < capacity) {
        std::memmove(data + length, text, count);
        length += count;
        data[length] = 0;
        return *this;
    }
    if (std::uint64_t(length) + count >= UINT32_MAX) {
        throw std::bad_alloc();
    }
    // The text may point into our own buffer, so the old one is freed only after the copy.
    char* old = data;
    std::uint32_t oldLength = length;
    data = nullptr;
    build(old, oldLength, text, count);
    delete[] old;
    return *this;
}

String operator+(const String& a, const char* b)
{
    String result;
    result.build(a.data, a.length, b, measure(b));
    return result;
}

String operator+(const String& a, const String& b)
{
    String result;
    result.build(a.data, a.length, b.data, b.length);
    return result;
}

bool String::operator==(const String& other) const
{
    return length == other.length && (length == 0 || std::memcmp(data, other.data, length) == 0);
}

bool String::operator==(const char* text) const
{
    return std::strcmp(chars(), text ? text : "") == 0;
}

const char* String::chars() const
{
    return data ? data : "";
}

String String::toLowerCase() const
{
    String result(*this);
    for (std::uint32_t i = 0; i < result.length; ++i) {
        result.data[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(result.data[i])));
    }
    return result;
}

String String::getName() const
{
    return *this;
}

String String::toString() const
{
    return *this;
}

void String::assign(const char* text, std::uint32_t count)
{
    if (count == 0) {
        freeBuffer();
        return;
    }
    if (count < capacity) {
        std::memmove(data, text, count);
    } else {
        char* old = data;
        data = new char[capacityFor(count)];
        capacity = capacityFor(count);
        std::memcpy(data, text, count);
        delete[] old;
    }
    length = count;
    data[length] = 0;
}

void String::build(const char* a, std::uint32_t aCount, const char* b, std::uint32_t bCount)
{
    std::uint64_t total = std::uint64_t(aCount) + bCount;
    if (total == 0) {
        return;
    }
    if (total >= UINT32_MAX) {
        throw std::bad_alloc();
    }
    length = static_cast<std::uint32_t>(total);
    capacity = capacityFor(length);
    data = new char[capacity];
    if (aCount) {
        std::memcpy(data, a, aCount);
    }
    if (bCount) {
        std::memcpy(data + aCount, b, bCount);
    }
    data[length] = 0;
}

void String::freeBuffer()
{
    delete[] data;
    data = nullptr;
    capacity = 0;
    length = 0;
}

} // namespace vardel::types
