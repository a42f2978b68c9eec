#include "app/picture_box.h"

// GDI+ needs the COM stream declarations first.
#include <objidl.h>

#include <gdiplus.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "app/gdiplus_session.h"
#include "app/picture_format.h"

namespace gp = Gdiplus::DllExports;

namespace {

constexpr wchar_t kClassName[] = L"PicoraPictureBox";
constexpr UINT_PTR kFrameTimerId = 1;
// GIF delays are in hundredths of a second; browsers treat 0 and 1 as "as fast as you like"
// and slow them down, and so do we.
constexpr UINT kDefaultFrameDelayMs = 100;
constexpr UINT kMinimumFrameDelayMs = 20;
const GUID kFrameDimensionTime = {
    0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};
constexpr PROPID kPropertyTagFrameDelay = 0x5100;

struct ImageDeleter {
    void operator()(Gdiplus::GpImage* image) const { gp::GdipDisposeImage(image); }
};
struct StreamReleaser {
    void operator()(IStream* stream) const { stream->Release(); }
};

struct PictureBox {
    int controlId = 0;
    PictureMouseHandler onMouseDown = nullptr;
    Bytes bytes;
    DecodedImage pcx;
    // GDI+ reads the stream lazily, so it lives as long as the image.
    std::unique_ptr<IStream, StreamReleaser> stream;
    std::unique_ptr<Gdiplus::GpImage, ImageDeleter> image;
    std::vector<UINT> frameDelaysMs;
    UINT frame = 0;
};

PictureBox* StateOf(HWND box) {
    return reinterpret_cast<PictureBox*>(GetWindowLongPtrW(box, GWLP_USERDATA));
}

IStream* StreamOnCopy(const Bytes& bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) return nullptr;
    void* data = GlobalLock(memory);
    if (!data) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

std::vector<UINT> FrameDelays(Gdiplus::GpImage* image) {
    UINT frames = 0;
    if (gp::GdipImageGetFrameCount(image, &kFrameDimensionTime, &frames) != Gdiplus::Ok ||
        frames < 2)
        return {};
    std::vector<UINT> delays(frames, kDefaultFrameDelayMs);
    UINT size = 0;
    if (gp::GdipGetPropertyItemSize(image, kPropertyTagFrameDelay, &size) != Gdiplus::Ok ||
        size < sizeof(Gdiplus::PropertyItem))
        return delays;
    std::vector<std::uint8_t> buffer(size);
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (gp::GdipGetPropertyItem(image, kPropertyTagFrameDelay, size, item) != Gdiplus::Ok)
        return delays;
    const auto* centiseconds = static_cast<const std::uint8_t*>(item->value);
    std::size_t available = item->length / 4;
    for (std::size_t i = 0; i < frames && i < available; ++i) {
        std::uint32_t value;
        std::memcpy(&value, centiseconds + 4 * i, 4);
        UINT ms = value * 10;
        delays[i] = value <= 1 ? kDefaultFrameDelayMs
                               : (ms < kMinimumFrameDelayMs ? kMinimumFrameDelayMs : ms);
    }
    return delays;
}

void LoadWithGdiplus(PictureBox& state, PictureFormat format) {
    if (!EnsureGdiplus()) return;
    Bytes bytes = state.bytes;
    // A cursor file is an icon directory with another type word; the icon decoder reads it
    // once the word says "icon".
    if (format == PictureFormat::kCursor) bytes[2] = 1;
    std::unique_ptr<IStream, StreamReleaser> stream(StreamOnCopy(bytes));
    if (!stream) return;
    Gdiplus::GpImage* image = nullptr;
    if (gp::GdipLoadImageFromStream(stream.get(), &image) != Gdiplus::Ok || !image) return;
    state.image.reset(image);
    state.stream = std::move(stream);
    state.frameDelaysMs = FrameDelays(image);
}

void Clear(HWND box, PictureBox& state) {
    KillTimer(box, kFrameTimerId);
    state.image.reset();
    state.stream.reset();
    state.pcx = DecodedImage();
    state.frameDelaysMs.clear();
    state.frame = 0;
}

void StartFrameTimer(HWND box, const PictureBox& state) {
    if (state.frameDelaysMs.size() > 1)
        SetTimer(box, kFrameTimerId, state.frameDelaysMs[state.frame], nullptr);
}

void NextFrame(HWND box, PictureBox& state) {
    if (!state.image || state.frameDelaysMs.size() < 2) return;
    state.frame = (state.frame + 1) % state.frameDelaysMs.size();
    gp::GdipImageSelectActiveFrame(state.image.get(), &kFrameDimensionTime, state.frame);
    StartFrameTimer(box, state);
    InvalidateRect(box, nullptr, TRUE);
}

void DrawPcx(HDC dc, const DecodedImage& image) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, 0, 0, image.width, image.height, 0, 0, 0, image.height,
                      image.pixels.data(), &info, DIB_RGB_COLORS);
}

void DrawGdiplus(HDC dc, Gdiplus::GpImage* image) {
    UINT width = 0, height = 0;
    gp::GdipGetImageWidth(image, &width);
    gp::GdipGetImageHeight(image, &height);
    Gdiplus::GpGraphics* graphics = nullptr;
    if (gp::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok) return;
    // Natural size in pixels, whatever resolution the file claims.
    gp::GdipDrawImageRectI(graphics, image, 0, 0, INT(width), INT(height));
    gp::GdipDeleteGraphics(graphics);
}

void Paint(HWND box, const PictureBox& state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    if (state.image)
        DrawGdiplus(dc, state.image.get());
    else if (!state.pcx.pixels.empty())
        DrawPcx(dc, state.pcx);
    EndPaint(box, &paint);
}

LRESULT CALLBACK PictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    PictureBox* state = StateOf(box);
    switch (message) {
        case WM_NCDESTROY:
            if (state) {
                KillTimer(box, kFrameTimerId);
                delete state;
                SetWindowLongPtrW(box, GWLP_USERDATA, 0);
            }
            break;
        case WM_PAINT:
            if (!state) break;
            Paint(box, *state);
            return 0;
        case WM_TIMER:
            if (state && wParam == kFrameTimerId) NextFrame(box, *state);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (state && state->onMouseDown)
                state->onMouseDown(state->controlId, message == WM_RBUTTONDOWN);
            break;
    }
    return DefWindowProcW(box, message, wParam, lParam);
}

void RegisterPictureBoxClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = PictureBoxProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassExW(&windowClass) != 0;
}

}  // namespace

HWND CreatePictureBox(HWND parent, int controlId, int left, int top, int width, int height,
                      bool bordered, PictureMouseHandler onMouseDown) {
    RegisterPictureBoxClass();
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (bordered ? WS_BORDER : 0);
    HWND box = CreateWindowExW(0, kClassName, L"", style, left, top, width, height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!box) return nullptr;
    auto* state = new PictureBox;
    state->controlId = controlId;
    state->onMouseDown = onMouseDown;
    SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    return box;
}

void SetBoxPicture(HWND box, const Bytes& bytes) {
    PictureBox* state = StateOf(box);
    if (!state) return;
    Clear(box, *state);
    state->bytes = bytes;
    PictureFormat format = RecognisePicture(bytes);
    if (format != PictureFormat::kNone && WithinPixelLimit(bytes)) {
        try {
            if (format == PictureFormat::kPcx)
                DecodePcx(bytes, state->pcx);
            else
                LoadWithGdiplus(*state, format);
        } catch (const std::bad_alloc&) {
            // Too big for this process: the box stays empty, as for any undecodable picture.
            Clear(box, *state);
        }
    }
    StartFrameTimer(box, *state);
    InvalidateRect(box, nullptr, TRUE);
}

Bytes GetBoxPicture(HWND box) {
    PictureBox* state = StateOf(box);
    return state ? state->bytes : Bytes();
}
