// Pictures decoded by the Windows Imaging Component, which COM loads when the first picture
// is opened: the file read as every file is, its first frame converted to premultiplied BGRA.
#include <windows.h>

#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "platform/forms/Picture.h"
#include "platform/text/FileRead.h"
#include "platform/text/win32/WinText.h"
#include "platform/win32/OleLibraries.h"
#include "platform/win32/PixelPicture.h"

namespace {

// The most memory a picture's pixels may take: in the 32-bit program they must leave room
// in its address space for the rest (a 4,000 x 3,000 photo takes 48 MB).
constexpr std::uint64_t kMostPixelBytes = sizeof(void*) == 4 ? std::uint64_t{512} << 20 : std::uint64_t{4} << 30;
// Either side at most this long, so that a painter's sums of a row or column fit 32 bits.
constexpr UINT kLongestSide = 1u << 24;
// Pixels are copied out this many bytes at a time at most.
constexpr std::uint64_t kBandBytes = std::uint64_t{16} << 20;

// An interface pointer, released when it goes.
template <class Interface>
class TComRef {
public:
    TComRef() = default;
    ~TComRef()
    {
        if (p_)
            p_->Release();
    }
    TComRef(const TComRef&) = delete;
    TComRef& operator=(const TComRef&) = delete;
    Interface* operator->() const { return p_; }
    Interface* Get() const { return p_; }
    Interface** Out() { return &p_; }

private:
    Interface* p_ = nullptr;
};

// COM on this thread while it lives, unless the thread had it already in another model.
class TComScope {
public:
    TComScope() : joined_(SUCCEEDED(win32::Com().coInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~TComScope()
    {
        if (joined_)
            win32::Com().coUninitialize();
    }
    TComScope(const TComScope&) = delete;
    TComScope& operator=(const TComScope&) = delete;

private:
    bool joined_;
};

TPictureLoad Failed(TPictureProblem problem, HRESULT why)
{
    TPictureLoad load;
    load.problem = problem;
    load.reason = SystemText(HRESULT_FACILITY(why) == FACILITY_WIN32 ? HRESULT_CODE(why) : static_cast<DWORD>(why));
    return load;
}

// What a failed step of decoding means: out of memory, a file that went while it was read,
// or else bytes that are not a picture this system can decode.
TPictureProblem ProblemOf(HRESULT why)
{
    if (why == E_OUTOFMEMORY || why == HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_MEMORY))
        return TPictureProblem::TooLarge;
    if (why == E_ACCESSDENIED || why == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION) ||
        why == HRESULT_FROM_WIN32(ERROR_LOCK_VIOLATION))
        return TPictureProblem::Unreadable;
    return TPictureProblem::NotAPicture;
}

TPictureLoad Decode(const std::string& bytes)
{
    if (bytes.size() > 0xFFFFFFFFu)
        return Failed(TPictureProblem::TooLarge, E_OUTOFMEMORY);
    const win32::TCom& com = win32::Com();
    if (!com.complete)
        return Failed(TPictureProblem::Unreadable, HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND));
    const TComScope scope;
    TComRef<IWICImagingFactory> factory;
    HRESULT hr = com.coCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.Out()));
    if (FAILED(hr))  // no imaging component on this system
        return Failed(TPictureProblem::Unreadable, hr);
    TComRef<IWICStream> stream;
    TComRef<IWICBitmapDecoder> decoder;
    TComRef<IWICBitmapFrameDecode> frame;
    TComRef<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(hr = factory->CreateStream(stream.Out())) ||
        FAILED(hr = stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                                 static_cast<DWORD>(bytes.size()))) ||
        FAILED(hr = factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                     decoder.Out())) ||
        FAILED(hr = decoder->GetFrame(0, frame.Out())) || FAILED(hr = frame->GetSize(&width, &height)))
        return Failed(ProblemOf(hr), hr);
    if (width == 0 || height == 0)
        return Failed(TPictureProblem::NotAPicture, WINCODEC_ERR_BADIMAGE);
    const std::uint64_t rowBytes = 4 * std::uint64_t{width};
    if (width > kLongestSide || height > kLongestSide || rowBytes * height > kMostPixelBytes)
        return Failed(TPictureProblem::TooLarge, E_OUTOFMEMORY);
    if (FAILED(hr = factory->CreateFormatConverter(converter.Out())) ||
        FAILED(hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr,
                                          0.0, WICBitmapPaletteTypeCustom)))
        return Failed(ProblemOf(hr), hr);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    const UINT band = static_cast<UINT>(std::max<std::uint64_t>(1, kBandBytes / rowBytes));
    for (UINT top = 0; top < height; top += band) {
        const WICRect rows{0, static_cast<INT>(top), static_cast<INT>(width),
                           static_cast<INT>(std::min(band, height - top))};
        if (FAILED(hr = converter->CopyPixels(&rows, static_cast<UINT>(rowBytes),
                                              static_cast<UINT>(rowBytes * static_cast<UINT>(rows.Height)),
                                              reinterpret_cast<BYTE*>(pixels.data() + std::size_t{top} * width))))
            return Failed(ProblemOf(hr), hr);
    }
    TPictureLoad load;
    load.picture = std::make_shared<win32::TPixelPicture>(static_cast<std::int32_t>(width),
                                                          static_cast<std::int32_t>(height), std::move(pixels));
    return load;
}

}  // namespace

namespace backend {

TPictureLoad LoadPicture(const std::string& path)
{
    try {
        std::string bytes, why;
        switch (ReadFileIfThere(path, bytes, why)) {
        case TFileRead::Read:
            return Decode(bytes);
        case TFileRead::Missing:
            return Failed(TPictureProblem::NotFound, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
        case TFileRead::Folder:
        case TFileRead::Failed:
            break;
        }
        TPictureLoad load;
        load.problem = TPictureProblem::Unreadable;
        load.reason = why;
        return load;
    } catch (const std::bad_alloc&) {
        return Failed(TPictureProblem::TooLarge, E_OUTOFMEMORY);
    }
}

}  // namespace backend
