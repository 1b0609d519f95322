#include "capture_win.h"

#include <string>

#include "uidriver_win.h"

namespace tarvo::uidriver {

namespace {

// A 32-bit top-down DIB section selected into a memory DC; released on scope exit.
class DibCanvas {
public:
    DibCanvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        screen_ = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen_);
        bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        if (dc_ != nullptr && bitmap_ != nullptr) previous_ = SelectObject(dc_, bitmap_);
    }
    ~DibCanvas() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        if (dc_ != nullptr) DeleteDC(dc_);
        if (screen_ != nullptr) ReleaseDC(nullptr, screen_);
    }
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    bool Ok() const { return previous_ != nullptr && bits_ != nullptr; }
    HDC Dc() const { return dc_; }
    HDC Screen() const { return screen_; }
    void CopyTo(Pixels* pixels) const {
        GdiFlush();
        pixels->width = width_;
        pixels->height = height_;
        const auto* source = static_cast<const std::uint32_t*>(bits_);
        pixels->data.assign(source, source + static_cast<size_t>(width_) * height_);
        for (auto& p : pixels->data) p &= 0x00FFFFFF;
    }

private:
    int width_, height_;
    HDC screen_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

}  // namespace

int CaptureScreen(const RECT& rect, Pixels* pixels) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return 0;
    DibCanvas canvas(width, height);
    if (!canvas.Ok()) return 0;
    if (!BitBlt(canvas.Dc(), 0, 0, width, height, canvas.Screen(), rect.left, rect.top, SRCCOPY)) return 0;
    canvas.CopyTo(pixels);
    return 1;
}

int RenderIcon(HICON icon, int width, int height, std::uint32_t background, Pixels* pixels) {
    DibCanvas canvas(width, height);
    if (!canvas.Ok()) return 0;
    // COLORREF is 0x00BBGGRR; the pixels are 0x00RRGGBB.
    const COLORREF colour = RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all{0, 0, width, height};
    FillRect(canvas.Dc(), &all, brush);
    DeleteObject(brush);
    if (!DrawIconEx(canvas.Dc(), 0, 0, icon, width, height, 0, nullptr, DI_NORMAL)) return 0;
    canvas.CopyTo(pixels);
    return 1;
}

int SaveScreenshot(HWND window, const std::wstring& path, bool clientOnly, std::string* error) {
    RECT rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (window != nullptr && !GetWindowRect(window, &rect)) {
        *error = "no such window";
        return 0;
    }
    if (window != nullptr && clientOnly) {
        POINT origin{0, 0};
        GetClientRect(window, &rect);
        ClientToScreen(window, &origin);
        OffsetRect(&rect, origin.x, origin.y);
    }
    Pixels pixels;
    if (!CaptureScreen(rect, &pixels)) {
        *error = "cannot copy the screen";
        return 0;
    }
    // BMP: 24-bit bottom-up rows padded to 4 bytes.
    const int rowBytes = (pixels.width * 3 + 3) & ~3;
    const DWORD imageBytes = static_cast<DWORD>(rowBytes) * pixels.height;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + imageBytes;
    info.biSize = sizeof info;
    info.biWidth = pixels.width;
    info.biHeight = pixels.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = imageBytes;
    std::string image(imageBytes, '\0');
    for (int y = 0; y < pixels.height; ++y) {
        char* row = &image[static_cast<size_t>(pixels.height - 1 - y) * rowBytes];
        for (int x = 0; x < pixels.width; ++x) {
            const std::uint32_t p = pixels.At(x, y);
            row[3 * x] = static_cast<char>(p & 0xFF);
            row[3 * x + 1] = static_cast<char>((p >> 8) & 0xFF);
            row[3 * x + 2] = static_cast<char>((p >> 16) & 0xFF);
        }
    }
    UniqueHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    DWORD written = 0;
    if (!out || !WriteFile(out.Get(), &file, sizeof file, &written, nullptr) ||
        !WriteFile(out.Get(), &info, sizeof info, &written, nullptr) ||
        !WriteFile(out.Get(), image.data(), imageBytes, &written, nullptr) || written != imageBytes) {
        *error = "cannot write " + Narrow(path) + ", error " + std::to_string(GetLastError());
        return 0;
    }
    return 1;
}

}  // namespace tarvo::uidriver
