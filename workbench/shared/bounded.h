// Fixed-size tables and strings whose limits the workbench checks on every use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "errors.h"

namespace tarnix {

// A table indexed Lo..Hi; an index outside it throws the range error.
template <typename T, int Lo, int Hi>
class BoundedArray {
    static_assert(Lo <= Hi);

public:
    BoundedArray() : items_(static_cast<std::size_t>(Hi - Lo + 1)) {}

    T& operator[](std::int64_t index) { return items_[offset(index)]; }
    const T& operator[](std::int64_t index) const { return items_[offset(index)]; }

private:
    static std::size_t offset(std::int64_t index)
    {
        if (index < Lo || index > Hi)
            throw RangeError();
        return static_cast<std::size_t>(index - Lo);
    }
    std::vector<T> items_;
};

// A string of at most N characters: a longer value is cut to N on assignment.
template <std::size_t N>
class ShortString {
public:
    ShortString() = default;
    ShortString(std::string value) { assign(std::move(value)); }
    ShortString& operator=(std::string value)
    {
        assign(std::move(value));
        return *this;
    }
    operator const std::string&() const { return value_; }
    const std::string& str() const { return value_; }
    bool empty() const { return value_.empty(); }
    friend std::string operator+(const std::string& a, const ShortString& b) { return a + b.value_; }

private:
    void assign(std::string value)
    {
        if (value.size() > N)
            value.resize(N);
        value_ = std::move(value);
    }
    std::string value_;
};

}  // namespace tarnix
