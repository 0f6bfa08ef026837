// Bitmaps and palettes of the program's pictures.
#include "ui/win32/bitmaps.h"

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

// The device pixels of a rectangle in logical units of dc.
SIZE deviceSize(const CDC& dc, const RECT& target)
{
  POINT corners[2] = {{target.left, target.top}, {target.right, target.bottom}};
  dc.LPtoDP(corners, 2);
  return SIZE{corners[1].x - corners[0].x, corners[1].y - corners[0].y};
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

// The rectangle of the bitmap unscaled at (left, top), in logical units.
RECT unscaledAt(const CDC& dc, HBITMAP bitmap, int left, int top)
{
  SIZE size = logicalSize(dc, bitmap);
  return RECT{left, top, left + size.cx, top + size.cy};
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

// The picture at the size of a target rectangle of dc, in a memory context
// with dc's mapping mode: the bitmap itself when the sizes agree, else a
// copy stretched with the given mode.
class PictureAtSize {
public:
  PictureAtSize(CDC& dc, HBITMAP bitmap, const RECT& target, int stretchMode)
      : source_(dc, bitmap)
  {
    source_.SetMapMode(dc.GetMapMode());
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof info, &info);
    size_ = deviceSize(dc, target);
    if (size_.cx == info.bmWidth && size_.cy == info.bmHeight)
      return;
    stretched_ = ::CreateCompatibleBitmap(dc.m_hDC, size_.cx, size_.cy);
    copy_ = new MemoryDC(dc, stretched_);
    copy_->SetMapMode(dc.GetMapMode());
    ::SetStretchBltMode(copy_->m_hDC, stretchMode);
    ::SetBrushOrgEx(copy_->m_hDC, 0, 0, nullptr);
    ::StretchBlt(copy_->m_hDC, 0, 0, size_.cx, size_.cy, source_.m_hDC, 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
  }
  ~PictureAtSize()
  {
    delete copy_;
    if (stretched_)
      ::DeleteObject(stretched_);
  }
  PictureAtSize(const PictureAtSize&) = delete;
  PictureAtSize& operator=(const PictureAtSize&) = delete;

  CDC& dc() { return copy_ ? *copy_ : source_; }
  SIZE size() const { return size_; }

private:
  MemoryDC source_;
  SIZE size_;
  HBITMAP stretched_ = nullptr;
  MemoryDC* copy_ = nullptr;
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
  RECT target = unscaledAt(dc, picture.bitmap(), client.left + x, client.top + y);
  PictureAtSize source(dc, picture.bitmap(), target, COLORONCOLOR);
  dc.BitBlt(target.left, target.top, target.right - target.left, target.bottom - target.top, &source.dc(), 0, 0,
            SRCCOPY);
}

void drawBitmapStretched(CDC& dc, const RECT& target, UINT id)
{
  PreparedBitmap picture(dc, id);
  if (!picture.bitmap())
    return;
  PictureAtSize source(dc, picture.bitmap(), target, HALFTONE);
  dc.BitBlt(target.left, target.top, target.right - target.left, target.bottom - target.top, &source.dc(), 0, 0,
            SRCCOPY);
}

namespace {

// The usual mask method at the target's size.
void drawTransparent(CDC& dc, HBITMAP bitmap, const RECT& target, COLORREF key)
{
  PictureAtSize picture(dc, bitmap, target, COLORONCOLOR);
  CDC& source = picture.dc();
  SIZE pixels = picture.size();
  int left = target.left;
  int top = target.top;
  int width = target.right - target.left;
  int height = target.bottom - target.top;

  // The mask: key-coloured pixels white, all others black.
  HBITMAP maskBitmap = ::CreateBitmap(pixels.cx, pixels.cy, 1, 1, nullptr);
  HBITMAP pictureBitmap = ::CreateCompatibleBitmap(dc.m_hDC, pixels.cx, pixels.cy);
  HBITMAP workBitmap = ::CreateCompatibleBitmap(dc.m_hDC, pixels.cx, pixels.cy);
  {
    MemoryDC mask(dc, maskBitmap);
    mask.SetMapMode(dc.GetMapMode());
    COLORREF oldBack = source.SetBkColor(key);
    mask.BitBlt(0, 0, width, height, &source, 0, 0, SRCCOPY);
    source.SetBkColor(oldBack);

    // The picture with its key-coloured pixels made black (DSna).
    MemoryDC inverted(dc, pictureBitmap);
    inverted.SetMapMode(dc.GetMapMode());
    inverted.SetBkColor(RGB(255, 255, 255));
    ::SetTextColor(inverted.m_hDC, RGB(0, 0, 0));
    inverted.BitBlt(0, 0, width, height, &source, 0, 0, SRCCOPY);
    inverted.BitBlt(0, 0, width, height, &mask, 0, 0, 0x220326);

    // What lies under the picture, cut out by the mask and painted in.
    MemoryDC work(dc, workBitmap);
    work.SetMapMode(dc.GetMapMode());
    work.SetBkColor(RGB(255, 255, 255));
    ::SetTextColor(work.m_hDC, RGB(0, 0, 0));
    work.BitBlt(0, 0, width, height, &dc, left, top, SRCCOPY);
    work.BitBlt(0, 0, width, height, &mask, 0, 0, SRCAND);
    work.BitBlt(0, 0, width, height, &inverted, 0, 0, SRCINVERT);
    dc.BitBlt(left, top, width, height, &work, 0, 0, SRCCOPY);
  }
  ::DeleteObject(workBitmap);
  ::DeleteObject(pictureBitmap);
  ::DeleteObject(maskBitmap);
}

}  // namespace

void drawBitmapTransparent(CDC& dc, const RECT& client, UINT id, int x, int y, COLORREF key)
{
  PreparedBitmap picture(dc, id);
  if (picture.bitmap())
    drawTransparent(dc, picture.bitmap(), unscaledAt(dc, picture.bitmap(), client.left + x, client.top + y), key);
}

void drawBitmapTransparentStretched(CDC& dc, const RECT& target, UINT id, COLORREF key)
{
  PreparedBitmap picture(dc, id);
  if (picture.bitmap())
    drawTransparent(dc, picture.bitmap(), target, key);
}

int displayDpi(const CDC& dc)
{
  int dpi = dc.GetDeviceCaps(LOGPIXELSY);
  return dpi > 0 ? dpi : defaultDpi;
}

int scaledToDpi(int pixels, int dpi)
{
  return ::MulDiv(pixels, dpi, defaultDpi);
}

RECT scaledPicture(UINT id, int left, int top, int dpi)
{
  SIZE size = {0, 0};
  bitmapSize(id, &size);
  return RECT{left, top, left + scaledToDpi(size.cx, dpi), top + scaledToDpi(size.cy, dpi)};
}
