#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace doorsel::fuzz {

// Takes the fuzzer's bytes apart: short fields first (each a length byte and that many bytes), the
// rest is the document under test.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : data(data)
        , size(size)
    {
    }

    std::string field()
    {
        if (pos >= size)
            return {};
        const std::size_t length = data[pos++] % 32;
        return take(length);
    }

    std::string rest() { return take(size - pos); }

private:
    std::string take(std::size_t length)
    {
        length = std::min(length, size - pos);
        std::string out(reinterpret_cast<const char*>(data + pos), length);
        pos += length;
        return out;
    }

    const std::uint8_t* data;
    std::size_t size;
    std::size_t pos = 0;
};

} // namespace doorsel::fuzz
