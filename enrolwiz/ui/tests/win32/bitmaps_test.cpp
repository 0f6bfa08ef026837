// Palettes from packed DIBs, loading bitmap resources with their palette,
// plain and transparent drawing at the picture's size and stretched, the
// pictures' places at a display scale, and the sizes of the program's
// pictures.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "framework/win32/app.h"
#include "res/resource.h"
#include "ui/win32/bitmaps.h"

namespace {

const UINT trueColourBitmap = 4001;
const UINT fourBitBitmap = 4002;

// A BITMAPINFOHEADER with its colour table, as a resource stores it.
std::vector<BYTE> packedDib(WORD bits, DWORD colourUsed, int tableEntries)
{
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + 4 * static_cast<size_t>(tableEntries));
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = 2;
  header->biHeight = 2;
  header->biPlanes = 1;
  header->biBitCount = bits;
  header->biClrUsed = colourUsed;
  auto* table = reinterpret_cast<RGBQUAD*>(dib.data() + sizeof(BITMAPINFOHEADER));
  for (int i = 0; i < tableEntries; ++i)
    table[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(2 * i), static_cast<BYTE>(100 + i), 0};
  return dib;
}

std::vector<PALETTEENTRY> entriesOf(HPALETTE palette)
{
  WORD count = 0;
  ::GetObjectA(palette, sizeof count, &count);
  std::vector<PALETTEENTRY> entries(count);
  ::GetPaletteEntries(palette, 0, count, entries.data());
  return entries;
}

TEST(PaletteFromDib, CountsTheColourTableEntries)
{
  struct Row {
    WORD bits;
    DWORD used;
    int count;
  } rows[] = {{1, 0, 2}, {4, 0, 16}, {8, 0, 256}, {8, 3, 3}, {16, 0, 0}, {24, 0, 0}, {32, 0, 0}, {24, 5, 5}};
  for (const Row& row : rows) {
    BITMAPINFOHEADER header = {};
    header.biBitCount = row.bits;
    header.biClrUsed = row.used;
    EXPECT_EQ(dibColourCount(header), row.count) << row.bits << " bits, biClrUsed " << row.used;
  }
}

TEST(PaletteFromDib, TrueColourHasNoPalette)
{
  std::vector<BYTE> dib = packedDib(24, 0, 0);
  int colours = -1;
  EXPECT_EQ(paletteFromPackedDib(reinterpret_cast<BITMAPINFOHEADER*>(dib.data()), &colours), nullptr);
  EXPECT_EQ(colours, 0);
}

TEST(PaletteFromDib, FourBitsWithoutBiClrUsedGiveSixteenEntriesInRgbOrder)
{
  std::vector<BYTE> dib = packedDib(4, 0, 16);
  int colours = 0;
  HPALETTE palette = paletteFromPackedDib(reinterpret_cast<BITMAPINFOHEADER*>(dib.data()), &colours);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(colours, 16);
  std::vector<PALETTEENTRY> entries = entriesOf(palette);
  ASSERT_EQ(entries.size(), 16u);
  for (int i = 0; i < 16; ++i) {
    // RGBQUAD holds blue, green, red.
    EXPECT_EQ(entries[i].peRed, 100 + i);
    EXPECT_EQ(entries[i].peGreen, 2 * i);
    EXPECT_EQ(entries[i].peBlue, i);
    EXPECT_EQ(entries[i].peFlags, 0);
  }
  ::DeleteObject(palette);

  std::vector<BYTE> few = packedDib(8, 3, 3);
  palette = paletteFromPackedDib(reinterpret_cast<BITMAPINFOHEADER*>(few.data()), &colours);
  EXPECT_EQ(colours, 3);
  EXPECT_EQ(entriesOf(palette).size(), 3u);
  ::DeleteObject(palette);
}

TEST(LoadBitmap, GivesTheBitmapAndThePaletteOfItsResource)
{
  HINSTANCE program = AfxGetInstanceHandle();
  EXPECT_EQ(bitmapResourceName(138), "#138");
  HPALETTE palette = nullptr;
  HBITMAP bitmap = loadBitmapWithPalette(program, "#4002", &palette);
  ASSERT_NE(bitmap, nullptr);
  ASSERT_NE(palette, nullptr);
  std::vector<PALETTEENTRY> entries = entriesOf(palette);
  ASSERT_EQ(entries.size(), 16u);
  EXPECT_EQ(entries[15].peRed, 240);
  EXPECT_EQ(entries[15].peGreen, 15);
  BITMAP info = {};
  ::GetObjectA(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 4);
  EXPECT_EQ(info.bmHeight, 1);
  ::DeleteObject(bitmap);
  ::DeleteObject(palette);

  bitmap = loadBitmapWithPalette(program, "#4001", &palette);
  EXPECT_NE(bitmap, nullptr);
  EXPECT_EQ(palette, nullptr);
  ::DeleteObject(bitmap);

  EXPECT_EQ(loadBitmapWithPalette(program, "#4711", &palette), nullptr);
  EXPECT_EQ(palette, nullptr);
}

TEST(ProgramPictures, ShareThePaletteOfTheSplashWithMagentaForTheBackground)
{
  SIZE size;
  ASSERT_TRUE(bitmapSize(IDB_SPLASH, &size));
  EXPECT_EQ(size.cx, 420);
  EXPECT_EQ(size.cy, 280);
  ASSERT_TRUE(bitmapSize(IDB_PAGE_BAND, &size));
  EXPECT_LE(size.cy, 44);
  ASSERT_TRUE(bitmapSize(IDB_PAGE_PICTURE, &size));
  EXPECT_LE(size.cx, 200);
  EXPECT_FALSE(bitmapSize(4711, &size));

  CPalette palette;
  ASSERT_TRUE(paletteOfBitmap(IDB_SPLASH, palette));
  EXPECT_EQ(palette.GetEntryCount(), 256);
  std::vector<PALETTEENTRY> entries = entriesOf(palette);
  EXPECT_EQ(RGB(entries[255].peRed, entries[255].peGreen, entries[255].peBlue), transparentColour);
  CPalette none;
  EXPECT_FALSE(paletteOfBitmap(trueColourBitmap, none));
  EXPECT_EQ(none.m_hObject, nullptr);
}

// A 24-bit memory context filled with one colour.
class Canvas {
public:
  Canvas(int width, int height, COLORREF fill)
  {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc.CreateCompatibleDC(nullptr);
    old_ = dc.SelectObject(bitmap_);
    RECT all = {0, 0, width, height};
    HBRUSH brush = ::CreateSolidBrush(fill);
    ::FillRect(dc.m_hDC, &all, brush);
    ::DeleteObject(brush);
  }
  ~Canvas()
  {
    dc.SelectObject(old_);
    ::DeleteObject(bitmap_);
  }
  COLORREF at(int x, int y) { return ::GetPixel(dc.m_hDC, x, y); }

  CDC dc;

private:
  HBITMAP bitmap_;
  HGDIOBJ old_;
};

const COLORREF green = RGB(0, 255, 0);
const COLORREF grey = RGB(90, 90, 90);

TEST(DrawBitmap, PutsTheTrueColourPicturePlainAtTheClientOffset)
{
  Canvas canvas(20, 20, grey);
  RECT client = {2, 3, 20, 20};
  drawBitmap(canvas.dc, client, trueColourBitmap, 4, 5);
  // Top-left corner at (client.left + x, client.top + y) = (6, 8).
  EXPECT_EQ(canvas.at(6, 8), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(7, 8), RGB(255, 0, 255));
  EXPECT_EQ(canvas.at(8, 8), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(6, 9), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(7, 9), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(8, 9), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(5, 8), grey);
  EXPECT_EQ(canvas.at(9, 9), grey);
  EXPECT_EQ(canvas.at(6, 10), grey);
  drawBitmap(canvas.dc, client, 4711, 0, 0);
  EXPECT_EQ(canvas.at(2, 3), grey);
}

TEST(DrawBitmap, LeavesTheKeyColourOutWhenTransparent)
{
  Canvas canvas(20, 20, green);
  RECT client = {0, 0, 20, 20};
  drawBitmapTransparent(canvas.dc, client, trueColourBitmap, 1, 1);
  EXPECT_EQ(canvas.at(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(2, 1), green);
  EXPECT_EQ(canvas.at(3, 1), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(1, 2), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(2, 2), RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(3, 2), RGB(0, 0, 0));
  EXPECT_EQ(canvas.at(4, 1), green);
}

TEST(DrawBitmap, LetsThePageShowThroughThePagePictures)
{
  SIZE size;
  ASSERT_TRUE(bitmapSize(IDB_PAGE_BAND, &size));
  Canvas plain(size.cx, size.cy, grey);
  Canvas transparent(size.cx, size.cy, grey);
  RECT client = {0, 0, size.cx, size.cy};
  drawBitmap(plain.dc, client, IDB_PAGE_BAND, 0, 0);
  drawBitmapTransparent(transparent.dc, client, IDB_PAGE_BAND, 0, 0);
  int keyed = 0;
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; x += 7) {
      COLORREF drawn = plain.at(x, y);
      if (drawn == transparentColour) {
        ++keyed;
        EXPECT_EQ(transparent.at(x, y), grey) << x << "," << y;
      } else {
        EXPECT_EQ(transparent.at(x, y), drawn) << x << "," << y;
      }
    }
  // The band's upper edge is page background, its bottom row is picture.
  EXPECT_GT(keyed, 0);
  EXPECT_EQ(plain.at(0, 0), transparentColour);
  EXPECT_NE(plain.at(0, size.cy - 1), transparentColour);
}

TEST(DrawBitmapStretched, FillsTheTargetAndKeepsTheKeyColourExact)
{
  // The 3 x 2 picture at twice its size: every pixel becomes a 2 x 2 block,
  // the magenta one left out, nothing blended at the block edges.
  Canvas canvas(20, 20, green);
  RECT target = {4, 6, 10, 10};
  drawBitmapTransparentStretched(canvas.dc, target, trueColourBitmap);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      static const COLORREF picture[2][3] = {{RGB(255, 0, 0), green, RGB(0, 0, 255)},
                                             {RGB(0, 255, 0), RGB(255, 255, 255), RGB(0, 0, 0)}};
      EXPECT_EQ(canvas.at(4 + x, 6 + y), picture[y / 2][x / 2]) << x << "," << y;
    }
  EXPECT_EQ(canvas.at(3, 6), green);
  EXPECT_EQ(canvas.at(10, 9), green);
  EXPECT_EQ(canvas.at(4, 10), green);

  // Opaque and stretched to an odd size: the target filled, nothing beyond.
  Canvas opaque(20, 20, grey);
  RECT odd = {1, 1, 8, 6};
  drawBitmapStretched(opaque.dc, odd, trueColourBitmap);
  for (int y = 1; y < 6; ++y)
    for (int x = 1; x < 8; ++x)
      EXPECT_NE(opaque.at(x, y), grey) << x << "," << y;
  EXPECT_EQ(opaque.at(8, 3), grey);
  EXPECT_EQ(opaque.at(3, 6), grey);
  drawBitmapStretched(opaque.dc, RECT{10, 10, 20, 20}, 4711);
  EXPECT_EQ(opaque.at(15, 15), grey);
}

TEST(DisplayScale, PlacesAndSizesPicturesFromTheirSizeAtOneHundredPercent)
{
  EXPECT_EQ(scaledToDpi(44, defaultDpi), 44);
  EXPECT_EQ(scaledToDpi(44, 120), 55);
  EXPECT_EQ(scaledToDpi(44, 144), 66);
  EXPECT_EQ(scaledToDpi(200, 192), 400);
  EXPECT_EQ(scaledToDpi(-96, 144), -144);

  SIZE band;
  ASSERT_TRUE(bitmapSize(IDB_PAGE_BAND, &band));
  RECT at100 = scaledPicture(IDB_PAGE_BAND, 3, 7, defaultDpi);
  EXPECT_EQ(at100.left, 3);
  EXPECT_EQ(at100.top, 7);
  EXPECT_EQ(at100.right - at100.left, band.cx);
  EXPECT_EQ(at100.bottom - at100.top, band.cy);
  RECT at150 = scaledPicture(IDB_PAGE_BAND, 0, 0, 144);
  EXPECT_EQ(at150.right, band.cx * 3 / 2);
  EXPECT_EQ(at150.bottom, band.cy * 3 / 2);
  RECT missing = scaledPicture(4711, 5, 5, 144);
  EXPECT_TRUE(::IsRectEmpty(&missing));

  // A memory context tells the display's scale (the tests run at 100 %).
  Canvas canvas(4, 4, grey);
  HDC screen = ::GetDC(nullptr);
  EXPECT_EQ(displayDpi(canvas.dc), ::GetDeviceCaps(screen, LOGPIXELSY));
  ::ReleaseDC(nullptr, screen);
}

}  // namespace
