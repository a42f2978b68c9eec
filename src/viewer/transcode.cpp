#include "viewer/transcode.h"

#include <windows.h>
// GDI+ needs the COM stream declarations first.
#include <objidl.h>

#include <gdiplus.h>

#include <cstring>
#include <memory>

#include "app/gdiplus_session.h"
#include "app/picture_format.h"
#include "text/files.h"
#include "text/wide.h"

namespace {

using Gdiplus::GpImage;

struct StreamRelease {
    void operator()(IStream* stream) const { stream->Release(); }
};
using StreamPtr = std::unique_ptr<IStream, StreamRelease>;

struct ImageDispose {
    void operator()(GpImage* image) const { Gdiplus::DllExports::GdipDisposeImage(image); }
};
using ImagePtr = std::unique_ptr<GpImage, ImageDispose>;

struct BlockUnlock {
    void operator()(void* block) const { GlobalUnlock(block); }
};
using LockedBlock = std::unique_ptr<void, BlockUnlock>;

Text EncoderIdText(int type) {
    switch (type) {
        case kImageBmp:
            return "{557CF400-1A04-11D3-9A73-0000F81EF32E}";
        case kImageJpeg:
            return "{557CF401-1A04-11D3-9A73-0000F81EF32E}";
        case kImageGif:
            return "{557CF402-1A04-11D3-9A73-0000F81EF32E}";
        case kImageTiff:
            return "{557CF405-1A04-11D3-9A73-0000F81EF32E}";
        case kImagePng:
            return "{557CF406-1A04-11D3-9A73-0000F81EF32E}";
        default:
            return Text();
    }
}

// A stream holding a copy of `source`; the stream owns the copy and frees it on release.
StreamPtr StreamFromBytes(const Bytes& source) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, source.size());
    if (block == nullptr) return nullptr;
    if (!source.empty()) {
        void* data = GlobalLock(block);
        if (data == nullptr) {
            GlobalFree(block);
            return nullptr;
        }
        std::memcpy(data, source.data(), source.size());
        GlobalUnlock(block);
    }
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return nullptr;
    }
    StreamPtr owned(stream);
    // The block may be rounded up; the stream must end where the source does.
    ULARGE_INTEGER size;
    size.QuadPart = source.size();
    if (FAILED(stream->SetSize(size))) return nullptr;
    return owned;
}

bool SaneDimensions(GpImage* image) {
    UINT width = 0, height = 0;
    if (Gdiplus::DllExports::GdipGetImageWidth(image, &width) != Gdiplus::Ok) return false;
    if (Gdiplus::DllExports::GdipGetImageHeight(image, &height) != Gdiplus::Ok) return false;
    std::int64_t pixels = std::int64_t(width) * height;
    return pixels > 0 && pixels <= kMaxPicturePixels;
}

// Exactly the bytes written to the stream: its memory block may be larger.
Bytes StreamContent(IStream* stream) {
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return Bytes();
    HGLOBAL block = nullptr;
    if (FAILED(GetHGlobalFromStream(stream, &block))) return Bytes();
    LockedBlock data(GlobalLock(block));
    if (!data) return Bytes();
    size_t length = static_cast<size_t>(stat.cbSize.QuadPart);
    if (length > GlobalSize(block)) length = GlobalSize(block);
    const auto* first = static_cast<const std::uint8_t*>(data.get());
    return Bytes(first, first + length);
}

}  // namespace

bool TranscodeImage(const Bytes& source, int type, const Text& outputFile, Bytes& result) {
    // Started once for the process and left running: start-ups and shut-downs of
    // overlapping calls on several threads would race.
    if (!EnsureGdiplus()) return false;

    CLSID encoder{};
    Bytes encoderId = ToWideText(EncoderIdText(type));
    if (!encoderId.empty()) {
        CLSIDFromString(reinterpret_cast<LPCOLESTR>(encoderId.data()), &encoder);
    }

    // The decoder would allocate whatever size the header states before finding the data short.
    if (!WithinPixelLimit(source)) return false;
    StreamPtr input = StreamFromBytes(source);
    if (!input) return false;
    GpImage* decoded = nullptr;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromStream(input.get(), &bitmap) == Gdiplus::Ok) {
        decoded = bitmap;
    }
    ImagePtr image(decoded);
    if (!image || !SaneDimensions(image.get())) return false;

    IStream* rawOutput = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &rawOutput))) return false;
    StreamPtr output(rawOutput);
    Gdiplus::DllExports::GdipSaveImageToStream(image.get(), output.get(), &encoder, nullptr);

    Bytes encoded = StreamContent(output.get());
    if (encoded.empty()) return false;
    if (!TrimBlanks(outputFile).empty()) WriteBytesToFile(outputFile, encoded);
    result = std::move(encoded);
    return true;
}

Bytes ToWideText(const Text& text) {
    if (text.empty()) return Bytes();
    // Texts are GBK whatever the system's code page; the terminating zero is converted too.
    int length = static_cast<int>(text.size()) + 1;
    int units = MultiByteToWideChar(kTextCodePage, 0, text.c_str(), length, nullptr, 0);
    if (units <= 0) return Bytes();
    Bytes wide(static_cast<size_t>(units) * 2, 0);
    MultiByteToWideChar(kTextCodePage, 0, text.c_str(), length,
                        reinterpret_cast<wchar_t*>(wide.data()), units);
    return wide;
}
