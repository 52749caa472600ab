// Pictures without a screen: only their size, read from the header of a PNG, GIF, BMP, JPEG
// or TIFF file. Every offset is checked against the bytes read, whatever the file says.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/forms/Picture.h"
#include "platform/text/FileRead.h"

namespace {

struct TPictureSize {
    std::int64_t width, height;
};

class TSizedPicture final : public TPicture {
public:
    explicit TSizedPicture(TPictureSize size) : size_(size) {}
    std::int64_t Width() const override { return size_.width; }
    std::int64_t Height() const override { return size_.height; }

private:
    TPictureSize size_;
};

// Unsigned numbers of the bytes at an offset, in either order; 0 past the end.
class THeaderBytes {
public:
    THeaderBytes(std::string_view bytes, bool bigEndian = false) : bytes_(bytes), big_(bigEndian) {}
    bool Has(std::uint64_t at, std::uint64_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }
    std::uint32_t Number(std::uint64_t at, int count) const
    {
        if (!Has(at, static_cast<std::uint64_t>(count)))
            return 0;
        std::uint32_t n = 0;
        for (int i = 0; i < count; ++i) {
            const auto byte =
                static_cast<unsigned char>(bytes_[at + static_cast<std::uint64_t>(big_ ? i : count - 1 - i)]);
            n = n << 8 | byte;
        }
        return n;
    }
    bool StartsWith(std::string_view prefix) const { return bytes_.starts_with(prefix); }

private:
    std::string_view bytes_;
    bool big_;
};

std::optional<TPictureSize> Positive(std::int64_t width, std::int64_t height)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    return TPictureSize{width, height};
}

std::optional<TPictureSize> PngSize(const THeaderBytes& b)
{
    if (!b.StartsWith(std::string_view("\x89PNG\r\n\x1a\n", 8)) || !b.Has(8, 24) || b.Number(12, 4) != 0x49484452)
        return std::nullopt;  // the first chunk must be the header, "IHDR"
    return Positive(b.Number(16, 4), b.Number(20, 4));
}

std::optional<TPictureSize> GifSize(const THeaderBytes& b)
{
    if ((!b.StartsWith("GIF87a") && !b.StartsWith("GIF89a")) || !b.Has(6, 4))
        return std::nullopt;
    return Positive(b.Number(6, 2), b.Number(8, 2));
}

std::optional<TPictureSize> BmpSize(const THeaderBytes& b)
{
    if (!b.StartsWith("BM") || !b.Has(14, 4))
        return std::nullopt;
    const std::uint32_t header = b.Number(14, 4);
    if (header == 12 && b.Has(18, 8))  // the old header of 16-bit sizes
        return Positive(b.Number(18, 2), b.Number(20, 2));
    if (header < 16 || !b.Has(18, 8))
        return std::nullopt;
    // A negative height is a picture stored top down.
    const auto height = static_cast<std::int32_t>(b.Number(22, 4));
    return Positive(static_cast<std::int32_t>(b.Number(18, 4)), std::llabs(std::int64_t{height}));
}

std::optional<TPictureSize> JpegSize(const THeaderBytes& b)
{
    if (!b.StartsWith("\xFF\xD8"))
        return std::nullopt;
    for (std::uint64_t at = 2; b.Has(at, 2);) {
        if (b.Number(at, 1) != 0xFF)
            return std::nullopt;
        const std::uint32_t marker = b.Number(at + 1, 1);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue;  // markers without a segment
        if (marker == 0xD9 || marker == 0xDA || !b.Has(at, 2))
            return std::nullopt;  // the end, or the scan, before any frame header
        const std::uint32_t length = b.Number(at, 2);
        // Frame headers: SOF0 to SOF15 but DHT (C4), JPG (C8) and DAC (CC).
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return b.Has(at, 7) && length >= 7 ? Positive(b.Number(at + 5, 2), b.Number(at + 3, 2)) : std::nullopt;
        if (length < 2)
            return std::nullopt;
        at += length;
    }
    return std::nullopt;
}

std::optional<TPictureSize> TiffSize(std::string_view bytes)
{
    const bool big = bytes.starts_with(std::string_view("MM\0*", 4));
    if (!big && !bytes.starts_with(std::string_view("II*\0", 4)))
        return std::nullopt;
    const THeaderBytes b(bytes, big);
    const std::uint64_t directory = b.Number(4, 4);
    const std::uint32_t entries = b.Number(directory, 2);
    std::int64_t width = 0, height = 0;
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint64_t entry = directory + 2 + 12 * std::uint64_t{i};
        if (!b.Has(entry, 12))
            return std::nullopt;
        const std::uint32_t tag = b.Number(entry, 2), type = b.Number(entry + 2, 2);
        // SHORT or LONG, held in the entry itself.
        const std::uint32_t value = type == 3 ? b.Number(entry + 8, 2) : type == 4 ? b.Number(entry + 8, 4) : 0;
        if (tag == 256)
            width = value;
        else if (tag == 257)
            height = value;
    }
    return Positive(width, height);
}

std::optional<TPictureSize> SizeOf(std::string_view bytes)
{
    const THeaderBytes little(bytes), big(bytes, true);
    if (auto size = PngSize(big))
        return size;
    if (auto size = GifSize(little))
        return size;
    if (auto size = BmpSize(little))
        return size;
    if (auto size = JpegSize(big))
        return size;
    return TiffSize(bytes);
}

}  // namespace

namespace backend {

TPictureLoad LoadPicture(const std::string& path)
{
    TPictureLoad load;
    std::string bytes;
    switch (ReadFileIfThere(path, bytes, load.reason)) {
    case TFileRead::Read:
        break;
    case TFileRead::Missing:
        load.problem = TPictureProblem::NotFound;
        load.reason = "no such file";
        return load;
    case TFileRead::Folder:
    case TFileRead::Failed:
        load.problem = TPictureProblem::Unreadable;
        return load;
    }
    if (const std::optional<TPictureSize> size = SizeOf(bytes))
        load.picture = std::make_shared<TSizedPicture>(*size);
    else {
        load.problem = TPictureProblem::NotAPicture;
        load.reason = "not a picture of a known kind";
    }
    return load;
}

}  // namespace backend
