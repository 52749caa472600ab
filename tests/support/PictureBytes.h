// Picture files made by the tests and benchmarks themselves: PNG (8-bit RGB or RGBA) and BMP
// (24-bit) of colours given per pixel as 0xAARRGGBB. The PNG's data is compressed just enough
// that a large picture of one colour stays small: runs that repeat the pixel before are copied.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace psbtest {

namespace picture_bytes {

inline void Put32(std::string& out, std::uint32_t n, bool bigEndian)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>(n >> (bigEndian ? 24 - 8 * i : 8 * i));
}

inline std::uint32_t Crc32(std::string_view bytes)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char b : bytes)
        c = table[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// Deflate with the fixed codes: literals, and copies of 258 bytes from `period` bytes back.
class TDeflate {
public:
    std::string Compress(std::string_view data, std::size_t period)
    {
        Bits(1, 1);  // the last block
        Bits(1, 2);  // fixed codes
        for (std::size_t i = 0; i < data.size();) {
            if (i >= period && data.size() - i >= 258 && data.compare(i, 258, data.substr(i - period, 258)) == 0) {
                Code(0xC5, 8);  // length 258
                Code(static_cast<std::uint32_t>(DistanceCode(period)), 5);
                Bits(static_cast<std::uint32_t>(period - kDistanceBase[DistanceCode(period)]),
                     kDistanceExtra[DistanceCode(period)]);
                i += 258;
                continue;
            }
            const auto b = static_cast<unsigned char>(data[i++]);
            if (b < 144)
                Code(0x30 + b, 8);
            else
                Code(0x190 + b - 144, 9);
        }
        Code(0, 7);  // end of block
        if (used_)
            out_ += static_cast<char>(pending_);
        return out_;
    }

private:
    static constexpr std::array<std::uint32_t, 16> kDistanceBase{1,  2,  3,  4,  5,  7,  9,   13,
                                                                 17, 25, 33, 49, 65, 97, 129, 193};
    static constexpr std::array<int, 16> kDistanceExtra{0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6};
    static std::size_t DistanceCode(std::size_t distance)
    {
        std::size_t code = 0;
        while (code + 1 < kDistanceBase.size() && kDistanceBase[code + 1] <= distance)
            ++code;
        return code;
    }
    void Bits(std::uint32_t value, int count)  // least significant bit first
    {
        for (int i = 0; i < count; ++i) {
            pending_ |= ((value >> i) & 1) << used_;
            if (++used_ == 8) {
                out_ += static_cast<char>(pending_);
                pending_ = used_ = 0;
            }
        }
    }
    void Code(std::uint32_t code, int count)  // Huffman codes go most significant bit first
    {
        for (int i = count - 1; i >= 0; --i)
            Bits((code >> i) & 1, 1);
    }

    std::string out_;
    unsigned pending_ = 0, used_ = 0;
};

inline void Chunk(std::string& png, std::string_view type, std::string_view data)
{
    Put32(png, static_cast<std::uint32_t>(data.size()), true);
    const std::string typed = std::string(type) + std::string(data);
    png += typed;
    Put32(png, Crc32(typed), true);
}

}  // namespace picture_bytes

template <class Colour>
std::string Png(int width, int height, Colour colour, bool alpha = false)
{
    using namespace picture_bytes;
    const std::size_t pixel = alpha ? 4 : 3;
    std::string raw(static_cast<std::size_t>(height) * (1 + pixel * static_cast<std::size_t>(width)), '\0');
    char* to = raw.data();
    for (int y = 0; y < height; ++y) {
        *to++ = '\0';  // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            *to++ = static_cast<char>(c >> 16);
            *to++ = static_cast<char>(c >> 8);
            *to++ = static_cast<char>(c);
            if (alpha)
                *to++ = static_cast<char>(c >> 24);
        }
    }
    std::uint32_t a = 1, b = 0;  // Adler-32, reduced every 5,552 bytes, before b can overflow
    for (std::size_t at = 0; at < raw.size(); at += 5552) {
        const std::size_t end = std::min(raw.size(), at + 5552);
        for (std::size_t i = at; i < end; ++i) {
            a += static_cast<unsigned char>(raw[i]);
            b += a;
        }
        a %= 65521;
        b %= 65521;
    }
    std::string zlib = "\x78\x01" + TDeflate().Compress(raw, pixel);
    Put32(zlib, b << 16 | a, true);

    std::string header;
    Put32(header, static_cast<std::uint32_t>(width), true);
    Put32(header, static_cast<std::uint32_t>(height), true);
    header += std::string{8, static_cast<char>(alpha ? 6 : 2), 0, 0, 0};
    std::string png("\x89PNG\r\n\x1a\n", 8);
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", zlib);
    Chunk(png, "IEND", "");
    return png;
}

template <class Colour>
std::string Bmp(int width, int height, Colour colour)
{
    using picture_bytes::Put32;
    const std::uint32_t stride = (3 * static_cast<std::uint32_t>(width) + 3) & ~3u;
    std::string bmp = "BM";
    Put32(bmp, 54 + stride * static_cast<std::uint32_t>(height), false);
    Put32(bmp, 0, false);
    Put32(bmp, 54, false);  // where the pixels start
    Put32(bmp, 40, false);  // BITMAPINFOHEADER
    Put32(bmp, static_cast<std::uint32_t>(width), false);
    Put32(bmp, static_cast<std::uint32_t>(height), false);  // bottom up
    Put32(bmp, 1 | 24 << 16, false);                        // one plane, 24 bits
    for (int i = 0; i < 6; ++i)
        Put32(bmp, 0, false);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            row += {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16)};
        }
        row.resize(stride, '\0');
        bmp += row;
    }
    return bmp;
}

}  // namespace psbtest
