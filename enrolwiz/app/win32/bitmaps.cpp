// Bitmaps and palettes of the program's pictures.
#include "app/win32/bitmaps.h"

#include <vector>

#include "framework/win32/app.h"

namespace {

// The packed DIB of a bitmap resource, or null; the resource stays loaded
// for the life of the module, so nothing is freed.
const BITMAPINFOHEADER* lockedDib(HINSTANCE module, const char* name)
{
  HRSRC found = ::FindResourceA(module, name, reinterpret_cast<const char*>(RT_BITMAP));
  if (!found)
    return nullptr;
  HGLOBAL loaded = ::LoadResource(module, found);
  if (!loaded)
    return nullptr;
  auto* dib = static_cast<const BITMAPINFOHEADER*>(::LockResource(loaded));
  if (!dib || ::SizeofResource(module, found) < sizeof(BITMAPINFOHEADER))
    return nullptr;
  return dib;
}

const BITMAPINFOHEADER* bitmapDib(UINT id)
{
  CString name = bitmapResourceName(id);
  return lockedDib(findResourceModule(name, reinterpret_cast<const char*>(RT_BITMAP)), name);
}

// The bitmap's size in logical units of dc.
SIZE logicalSize(const CDC& dc, HBITMAP bitmap)
{
  BITMAP info = {};
  ::GetObjectA(bitmap, sizeof info, &info);
  POINT corners[2] = {{0, 0}, {info.bmWidth, info.bmHeight}};
  dc.DPtoLP(corners, 2);
  return SIZE{corners[1].x - corners[0].x, corners[1].y - corners[0].y};
}

// A bitmap loaded for one drawing, with its palette realised in the target.
class PreparedBitmap {
public:
  PreparedBitmap(CDC& dc, UINT id) : dc_(dc)
  {
    CString name = bitmapResourceName(id);
    bitmap_ = loadBitmapWithPalette(findResourceModule(name, reinterpret_cast<const char*>(RT_BITMAP)), name,
                                    &palette_);
    if (bitmap_ && palette_) {
      oldPalette_ = dc_.SelectPalette(palette_, FALSE);
      dc_.RealizePalette();
    }
  }
  ~PreparedBitmap()
  {
    if (oldPalette_)
      dc_.SelectPalette(oldPalette_, FALSE);
    if (palette_)
      ::DeleteObject(palette_);
    if (bitmap_)
      ::DeleteObject(bitmap_);
  }
  PreparedBitmap(const PreparedBitmap&) = delete;
  PreparedBitmap& operator=(const PreparedBitmap&) = delete;

  HBITMAP bitmap() const { return bitmap_; }

private:
  CDC& dc_;
  HBITMAP bitmap_ = nullptr;
  HPALETTE palette_ = nullptr;
  HPALETTE oldPalette_ = nullptr;
};

// A memory context holding a bitmap until it goes.
class MemoryDC : public CDC {
public:
  MemoryDC(CDC& like, HBITMAP bitmap)
  {
    CreateCompatibleDC(&like);
    old_ = SelectObject(bitmap);
  }
  ~MemoryDC() override { SelectObject(old_); }

private:
  HGDIOBJ old_;
};

}  // namespace

int dibColourCount(const BITMAPINFOHEADER& header)
{
  int count = header.biBitCount <= 8 ? 1 << header.biBitCount : 0;
  if (header.biClrUsed != 0)
    count = static_cast<int>(header.biClrUsed);
  return count;
}

HPALETTE paletteFromPackedDib(const BITMAPINFOHEADER* dib, int* colours)
{
  int count = dib ? dibColourCount(*dib) : 0;
  if (colours)
    *colours = count;
  if (count <= 0)
    return nullptr;
  if (count > 256)
    count = 256;   // LOGPALETTE's practical limit; a colour table never needs more
  const RGBQUAD* table = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) + dib->biSize);
  std::vector<BYTE> buffer(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<size_t>(count));
  auto* palette = reinterpret_cast<LOGPALETTE*>(buffer.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(count);
  for (int i = 0; i < count; ++i) {
    palette->palPalEntry[i].peRed = table[i].rgbRed;
    palette->palPalEntry[i].peGreen = table[i].rgbGreen;
    palette->palPalEntry[i].peBlue = table[i].rgbBlue;
    palette->palPalEntry[i].peFlags = 0;
  }
  return ::CreatePalette(palette);
}

CString bitmapResourceName(UINT id)
{
  CString name;
  name.Format("#%u", id);
  return name;
}

HBITMAP loadBitmapWithPalette(HINSTANCE module, const char* resourceName, HPALETTE* palette)
{
  *palette = nullptr;
  const BITMAPINFOHEADER* dib = lockedDib(module, resourceName);
  if (!dib)
    return nullptr;
  int colours = 0;
  *palette = paletteFromPackedDib(dib, &colours);
  HDC screen = ::GetDC(nullptr);
  HPALETTE old = nullptr;
  if (*palette) {
    old = ::SelectPalette(screen, *palette, TRUE);
    ::RealizePalette(screen);
  }
  // The three colour masks of a 16 or 32-bit DIB sit where a colour table would.
  int masks = dib->biCompression == BI_BITFIELDS && dib->biSize == sizeof(BITMAPINFOHEADER) ? 3 : 0;
  const BYTE* bits = reinterpret_cast<const BYTE*>(dib) + dib->biSize + 4 * (colours + masks);
  HBITMAP bitmap = ::CreateDIBitmap(screen, dib, CBM_INIT, bits, reinterpret_cast<const BITMAPINFO*>(dib),
                                    DIB_RGB_COLORS);
  if (old)
    ::SelectPalette(screen, old, TRUE);
  ::ReleaseDC(nullptr, screen);
  return bitmap;
}

bool paletteOfBitmap(UINT id, CPalette& palette)
{
  HPALETTE made = paletteFromPackedDib(bitmapDib(id));
  palette.Attach(made);
  return made != nullptr;
}

bool bitmapSize(UINT id, SIZE* size)
{
  const BITMAPINFOHEADER* dib = bitmapDib(id);
  if (!dib)
    return false;
  size->cx = dib->biWidth;
  size->cy = dib->biHeight < 0 ? -dib->biHeight : dib->biHeight;
  return true;
}

void drawBitmap(CDC& dc, const RECT& client, UINT id, int x, int y)
{
  PreparedBitmap picture(dc, id);
  if (!picture.bitmap())
    return;
  SIZE size = logicalSize(dc, picture.bitmap());
  MemoryDC memory(dc, picture.bitmap());
  memory.SetMapMode(dc.GetMapMode());
  dc.BitBlt(client.left + x, client.top + y, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
}

void drawBitmapTransparent(CDC& dc, const RECT& client, UINT id, int x, int y, COLORREF key)
{
  PreparedBitmap picture(dc, id);
  if (!picture.bitmap())
    return;
  SIZE size = logicalSize(dc, picture.bitmap());
  int left = client.left + x;
  int top = client.top + y;

  MemoryDC source(dc, picture.bitmap());
  source.SetMapMode(dc.GetMapMode());

  // The mask: key-coloured pixels white, all others black.
  HBITMAP maskBitmap = ::CreateBitmap(size.cx, size.cy, 1, 1, nullptr);
  HBITMAP pictureBitmap = ::CreateCompatibleBitmap(dc.m_hDC, size.cx, size.cy);
  HBITMAP workBitmap = ::CreateCompatibleBitmap(dc.m_hDC, size.cx, size.cy);
  {
    MemoryDC mask(dc, maskBitmap);
    COLORREF oldBack = source.SetBkColor(key);
    mask.BitBlt(0, 0, size.cx, size.cy, &source, 0, 0, SRCCOPY);
    source.SetBkColor(oldBack);

    // The picture with its key-coloured pixels made black (DSna).
    MemoryDC inverted(dc, pictureBitmap);
    inverted.SetBkColor(RGB(255, 255, 255));
    ::SetTextColor(inverted.m_hDC, RGB(0, 0, 0));
    inverted.BitBlt(0, 0, size.cx, size.cy, &source, 0, 0, SRCCOPY);
    inverted.BitBlt(0, 0, size.cx, size.cy, &mask, 0, 0, 0x220326);

    // What lies under the picture, cut out by the mask and painted in.
    MemoryDC work(dc, workBitmap);
    work.SetBkColor(RGB(255, 255, 255));
    ::SetTextColor(work.m_hDC, RGB(0, 0, 0));
    work.BitBlt(0, 0, size.cx, size.cy, &dc, left, top, SRCCOPY);
    work.BitBlt(0, 0, size.cx, size.cy, &mask, 0, 0, SRCAND);
    work.BitBlt(0, 0, size.cx, size.cy, &inverted, 0, 0, SRCINVERT);
    dc.BitBlt(left, top, size.cx, size.cy, &work, 0, 0, SRCCOPY);
  }
  ::DeleteObject(workBitmap);
  ::DeleteObject(pictureBitmap);
  ::DeleteObject(maskBitmap);
}
