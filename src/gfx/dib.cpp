// Bitmap drawing: the file is read in one go, decoded in memory and put on the device
// context with one copy, clipped to the pixels that are not see-through.
#include "gfx/dib.h"
#include "data/files.h"
#include "gfx/bitmap.h"

namespace {

// Calls run(left, right, row) for each opaque run of each decoded row; returns the count.
template <typename Run>
std::size_t ForEachRun(const Decoded& d, Run run) {
    const LONG w = LONG(d.area.right - d.area.left), h = LONG(d.area.bottom - d.area.top);
    std::size_t count = 0;
    for (LONG row = 0; row < h; row++) {
        const uint8_t* op = &d.opaque[std::size_t(row) * w];
        for (LONG col = 0; col < w;) {
            if (!op[col]) { col++; continue; }
            LONG start = col;
            while (col < w && op[col]) col++;
            run(start, col, row);
            count++;
        }
    }
    return count;
}

// A region made of the opaque runs of each decoded row.
HRGN OpaqueRegion(const Decoded& d) {
    std::size_t count = ForEachRun(d, [](LONG, LONG, LONG) {});
    if (count == 0) return NULL;
    Buffer<uint8_t> buf;
    const std::size_t bytes = sizeof(RGNDATAHEADER) + count * sizeof(RECT);
    if (!buf.reset(bytes)) return NULL;
    RGNDATA* data = reinterpret_cast<RGNDATA*>(buf.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(count);
    data->rdh.nRgnSize = DWORD(count * sizeof(RECT));
    data->rdh.rcBound = RECT{LONG(d.area.left), LONG(d.area.top), LONG(d.area.right),
                             LONG(d.area.bottom)};
    RECT* out = reinterpret_cast<RECT*>(data->Buffer);
    const LONG x0 = LONG(d.area.left), y0 = LONG(d.area.top);
    ForEachRun(d, [&](LONG left, LONG right, LONG row) {
        *out++ = RECT{x0 + left, y0 + row, x0 + right, y0 + row + 1};
    });
    return ExtCreateRegion(NULL, DWORD(bytes), data);
}

// Copies the decoded pixels through the opaque region, keeping the context's own clipping.
void Blit(HDC dc, Decoded& d) {
    HRGN opaque = OpaqueRegion(d);
    if (!opaque) return;
    const LONG w = LONG(d.area.right - d.area.left), h = LONG(d.area.bottom - d.area.top);
    for (uint32_t& c : d.pixels)  // colour values are red-first, DIB pixels blue-first
        c = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top row first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;

    HRGN saved = CreateRectRgn(0, 0, 0, 0);
    bool hadClip = GetClipRgn(dc, saved) == 1;
    ExtSelectClipRgn(dc, opaque, RGN_AND);
    SetDIBitsToDevice(dc, int(d.area.left), int(d.area.top), DWORD(w), DWORD(h), 0, 0, 0,
                      UINT(h), d.pixels.data(), &bi, DIB_RGB_COLORS);
    SelectClipRgn(dc, hadClip ? saved : NULL);
    DeleteObject(saved);
    DeleteObject(opaque);
}

}  // namespace

COLORREF DIB::RGB(int16_t r, int16_t g, int16_t b) {
    return RGB24(uint32_t(r), uint32_t(g), uint32_t(b));
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

void DIB::DispBmp(HDC dc, const char* name, int16_t x, int16_t y, bool transparent, bool mirror) {
    Buffer<uint8_t> data;
    BmpFile bmp;
    if (!ReadWholeFile(name, data, kMaxPictureBytes)) return;
    if (!ReadBmpHeaders(data.data(), data.size(), bmp)) return;
    RECT box;
    int kind = GetClipBox(dc, &box);
    if (kind == ERROR || kind == NULLREGION) return;
    Decoded d;
    DecodeBmp(bmp, x, y, transparent, mirror, Rect{box.left, box.top, box.right, box.bottom}, d);
    if (!d.pixels.empty()) Blit(dc, d);
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
