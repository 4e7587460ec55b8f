// Bitmap drawing: the file is read in one go and decoded in memory; white is kept out by
// a mask, with the classic pair of copies that every Windows does fast: the mask ANDed
// in (black where the picture is drawn), then the picture, black where it is see-through,
// ORed over it. A picture drawn again and again is kept as two bitmaps to copy from.
#include "gfx/dib.h"
#include <cstring>
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

void MaskHeader(MaskInfo& mask, LONG w, LONG h) {
    mask = MaskInfo{};
    DibHeader(mask.header, w, h, 1);
    mask.colours[1] = RGBQUAD{255, 255, 255, 0};
}

std::size_t MaskStride(LONG w) { return ((std::size_t(w) + 31) / 32) * 4; }  // whole DWORDs

// The decoded picture as the copies want it: its pixels blue-first, as DIB pixels are
// (colour values are red-first), and how many of them are drawn.
struct Ready {
    LONG w, h;
    std::size_t count, drawn;
};

Ready CountAndTurn(const Decoded& d, uint32_t* pixels) {
    Ready r{LONG(d.area.right - d.area.left), LONG(d.area.bottom - d.area.top), 0, 0};
    r.count = std::size_t(r.w) * std::size_t(r.h);
    for (std::size_t i = 0; i < r.count; i++) {
        uint32_t c = d.pixels[i];
        pixels[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
        r.drawn += d.opaque[i];
    }
    return r;
}

void FillMask(const Decoded& d, const Ready& r, uint8_t* rows) {
    const std::size_t stride = MaskStride(r.w);
    memset(rows, 0, stride * std::size_t(r.h));
    for (LONG row = 0; row < r.h; row++) {
        const uint8_t* op = &d.opaque[std::size_t(row) * std::size_t(r.w)];
        uint8_t* line = rows + std::size_t(row) * stride;
        for (LONG col = 0; col < r.w; col++)
            if (!op[col]) line[col >> 3] |= uint8_t(0x80 >> (col & 7));
    }
}

// Draws it straight from memory: for a picture drawn once, making bitmaps costs more.
void Blit(HDC dc, Decoded& d) {
    const Ready r = CountAndTurn(d, d.pixels.data());
    if (r.drawn == 0) return;
    BITMAPINFO picture;
    DibHeader(picture.bmiHeader, r.w, r.h, 32);
    const int x = int(d.area.left), y = int(d.area.top);
    if (r.drawn == r.count) {  // nothing see-through: one plain copy
        SetDIBitsToDevice(dc, x, y, DWORD(r.w), DWORD(r.h), 0, 0, 0, UINT(r.h), d.pixels.data(),
                          &picture, DIB_RGB_COLORS);
        return;
    }
    Buffer<uint8_t> bits;
    if (!bits.reset(MaskStride(r.w) * std::size_t(r.h))) return;
    FillMask(d, r, bits.data());
    MaskInfo mask;
    MaskHeader(mask, r.w, r.h);
    StretchDIBits(dc, x, y, r.w, r.h, 0, 0, r.w, r.h, bits.data(), reinterpret_cast<BITMAPINFO*>(&mask),
                  DIB_RGB_COLORS, SRCAND);
    StretchDIBits(dc, x, y, r.w, r.h, 0, 0, r.w, r.h, d.pixels.data(), &picture, DIB_RGB_COLORS,
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

void DIB::Prepare(const Buffer<uint8_t>& file, int16_t x, int16_t y, bool transparent, bool mirror,
                  const RECT& within, Prepared& out) {
    Forget(out);
    BmpFile bmp;
    if (!ReadBmpHeaders(file.data(), file.size(), bmp)) return;
    Decoded d;
    DecodeBmp(bmp, x, y, transparent, mirror, Rect{within.left, within.top, within.right, within.bottom}, d);
    if (d.pixels.empty()) return;
    BITMAPINFO picture;
    DibHeader(picture.bmiHeader, LONG(d.area.right - d.area.left), LONG(d.area.bottom - d.area.top), 32);
    void* bits = nullptr;
    out.colour = CreateDIBSection(NULL, &picture, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!out.colour) return;
    const Ready r = CountAndTurn(d, static_cast<uint32_t*>(bits));
    out.area = RECT{LONG(d.area.left), LONG(d.area.top), LONG(d.area.right), LONG(d.area.bottom)};
    if (r.drawn == 0) {  // nothing drawn: nothing kept
        Forget(out);
        return;
    }
    if (r.drawn == r.count) return;  // nothing see-through: one plain copy
    MaskInfo mask;
    MaskHeader(mask, r.w, r.h);
    out.mask = CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(&mask), DIB_RGB_COLORS, &bits,
                                NULL, 0);
    if (!out.mask) {
        Forget(out);
        return;
    }
    FillMask(d, r, static_cast<uint8_t*>(bits));
}

void DIB::Draw(HDC dc, const Prepared& picture) {
    if (!picture.colour) return;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return;
    const RECT& a = picture.area;
    const int w = a.right - a.left, h = a.bottom - a.top;
    HGDIOBJ old;
    if (picture.mask) {
        // Some systems colour a one-bit source by the context's text and back colours,
        // others by its own table: these make both read 0 black and 1 white.
        COLORREF text = SetTextColor(dc, 0x000000), back = SetBkColor(dc, 0xFFFFFF);
        old = SelectObject(memory, picture.mask);
        BitBlt(dc, a.left, a.top, w, h, memory, 0, 0, SRCAND);
        SelectObject(memory, picture.colour);
        BitBlt(dc, a.left, a.top, w, h, memory, 0, 0, SRCPAINT);
        SetTextColor(dc, text);
        SetBkColor(dc, back);
    } else {
        old = SelectObject(memory, picture.colour);
        BitBlt(dc, a.left, a.top, w, h, memory, 0, 0, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
}

void DIB::Forget(Prepared& picture) {
    if (picture.colour) DeleteObject(picture.colour);
    if (picture.mask) DeleteObject(picture.mask);
    picture = Prepared();
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
