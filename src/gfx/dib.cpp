// Bitmap drawing: the file is read in one go and decoded in memory; white is kept out by
// a mask, with the classic pair of copies that every Windows does fast: the mask ANDed
// in (black where the picture is drawn), then the picture, black where it is see-through,
// ORed over it.
#include "gfx/dib.h"
#include "data/files.h"
#include "gfx/bitmap.h"

namespace {

void DibHeader(BITMAPINFOHEADER& h, LONG w, LONG rows, WORD bits) {
    h = BITMAPINFOHEADER{};
    h.biSize = sizeof h;
    h.biWidth = w;
    h.biHeight = -rows;  // top row first
    h.biPlanes = 1;
    h.biBitCount = bits;
    h.biCompression = BI_RGB;
}

// A 1-bit DIB with a black and a white colour: its bits are set where nothing is drawn.
struct MaskInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[2];
};

void Blit(HDC dc, Decoded& d) {
    const LONG w = LONG(d.area.right - d.area.left), h = LONG(d.area.bottom - d.area.top);
    const std::size_t count = std::size_t(w) * std::size_t(h);
    std::size_t drawn = 0;
    for (std::size_t i = 0; i < count; i++) {
        uint32_t c = d.pixels[i];  // colour values are red-first, DIB pixels blue-first
        d.pixels[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        drawn += d.opaque[i];
    }
    if (drawn == 0) return;
    BITMAPINFO picture;
    DibHeader(picture.bmiHeader, w, h, 32);
    const int x = int(d.area.left), y = int(d.area.top);
    if (drawn == count) {  // nothing see-through: one plain copy
        SetDIBitsToDevice(dc, x, y, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), d.pixels.data(),
                          &picture, DIB_RGB_COLORS);
        return;
    }
    const std::size_t stride = ((std::size_t(w) + 31) / 32) * 4;  // rows of whole DWORDs
    Buffer<uint8_t> bits;
    if (!bits.reset(stride * std::size_t(h))) return;
    for (LONG row = 0; row < h; row++) {
        const uint8_t* op = &d.opaque[std::size_t(row) * std::size_t(w)];
        uint8_t* out = &bits[std::size_t(row) * stride];
        for (LONG col = 0; col < w; col++)
            if (!op[col]) out[col >> 3] |= uint8_t(0x80 >> (col & 7));
    }
    MaskInfo mask = {};
    DibHeader(mask.header, w, h, 1);
    mask.colours[1] = RGBQUAD{255, 255, 255, 0};
    StretchDIBits(dc, x, y, w, h, 0, 0, w, h, bits.data(), reinterpret_cast<BITMAPINFO*>(&mask),
                  DIB_RGB_COLORS, SRCAND);
    StretchDIBits(dc, x, y, w, h, 0, 0, w, h, d.pixels.data(), &picture, DIB_RGB_COLORS,
                  SRCPAINT);
}

}  // namespace

COLORREF DIB::RGB(int16_t r, int16_t g, int16_t b) {
    return RGB24(uint32_t(r), uint32_t(g), uint32_t(b));
}

void DIB::GetInfoFrom(const Buffer<uint8_t>& file, BITMAPINFOHEADER& info) {
    info = BITMAPINFOHEADER{};
    if (file.size() >= kBmpHeaders) memcpy(&info, file.data() + 14, sizeof info);
}

void DIB::GetInfo(const char* name, BITMAPINFOHEADER& info) {
    info = BITMAPINFOHEADER{};
    int16_t status;
    FileHandle f = OpenForReading(name, status);
    if (!f) return;
    uint8_t head[kBmpHeaders];
    std::size_t got = 0;
    while (got < sizeof head) {
        long n = ReadBlock(f, reinterpret_cast<char*>(head + got), long(sizeof head - got), status);
        if (n <= 0) break;
        got += std::size_t(n);
    }
    CloseFile(f);
    if (got == sizeof head) memcpy(&info, head + 14, sizeof info);
}

void DIB::DispBmpFrom(HDC dc, const Buffer<uint8_t>& file, int16_t x, int16_t y, bool transparent,
                      bool mirror) {
    BmpFile bmp;
    if (!ReadBmpHeaders(file.data(), file.size(), bmp)) return;
    RECT box;
    int kind = GetClipBox(dc, &box);
    if (kind == ERROR || kind == NULLREGION) return;
    Decoded d;
    DecodeBmp(bmp, x, y, transparent, mirror, Rect{box.left, box.top, box.right, box.bottom}, d);
    if (!d.pixels.empty()) Blit(dc, d);
}

void DIB::DispBmp(HDC dc, const char* name, int16_t x, int16_t y, bool transparent, bool mirror) {
    Buffer<uint8_t> file;
    if (ReadWholeFile(name, file, kMaxPictureBytes)) DispBmpFrom(dc, file, x, y, transparent, mirror);
}

void DrawInstBmp(HWND window, const char* name, int x, int y) {
    HBITMAP picture = LoadBitmapA(hInst, name);
    if (!picture) return;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, picture);
    BITMAP info = {};
    GetObjectA(picture, sizeof info, &info);
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(picture);
    ReleaseDC(window, dc);
}
