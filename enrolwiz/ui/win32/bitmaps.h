// Device-independent bitmaps of the program's resources and their palettes:
// a palette from a packed DIB's colour table, loading a bitmap resource with
// its palette, drawing it plainly or with a transparent key colour, and its
// size. Bitmaps are found by the name "#" + id, of type RT_BITMAP, in the
// resource module (else the program's own).
#ifndef ENROLWIZ_UI_WIN32_BITMAPS_H
#define ENROLWIZ_UI_WIN32_BITMAPS_H

#include <windows.h>

#include "framework/cstring.h"
#include "framework/win32/gdi.h"

// The key colour of the pictures: its pixels let the window show through.
const COLORREF transparentColour = RGB(255, 0, 255);

// The number of colour-table entries of a DIB header: 2^bits for 8 bits per
// pixel or fewer, else 0; a non-zero biClrUsed takes precedence.
int dibColourCount(const BITMAPINFOHEADER& header);

// A palette of the colour table that follows the header; null when there are
// no entries. colours receives the number of entries.
HPALETTE paletteFromPackedDib(const BITMAPINFOHEADER* dib, int* colours = nullptr);

// The resource name of a bitmap id: "#138" for 138.
CString bitmapResourceName(UINT id);

// A device-dependent bitmap of the resource made with CreateDIBitmap on the
// screen, and its palette (null without a colour table); null bitmap when the
// resource is missing. The caller deletes both.
HBITMAP loadBitmapWithPalette(HINSTANCE module, const char* resourceName, HPALETTE* palette);

// The application palette of a bitmap's colour table; false when the bitmap
// is missing or has no colour table.
bool paletteOfBitmap(UINT id, CPalette& palette);

// Width and height in pixels; false when the bitmap is missing.
bool bitmapSize(UINT id, SIZE* size);

// Draws the bitmap unscaled with its top-left corner at (client.left + x,
// client.top + y); a missing bitmap draws nothing.
void drawBitmap(CDC& dc, const RECT& client, UINT id, int x, int y);

// As drawBitmap, but the pixels of the key colour are not drawn.
void drawBitmapTransparent(CDC& dc, const RECT& client, UINT id, int x, int y,
                           COLORREF key = transparentColour);

// Draws the bitmap stretched to fill target (logical units of dc): smoothed
// where the system offers it, since the picture is opaque.
void drawBitmapStretched(CDC& dc, const RECT& target, UINT id);

// As drawBitmapStretched, but the pixels of the key colour are not drawn;
// pixels are repeated or dropped, never blended, so that the key colour
// stays exact at any size.
void drawBitmapTransparentStretched(CDC& dc, const RECT& target, UINT id, COLORREF key = transparentColour);

// The dots per inch of a display at 100 %: the pictures' own size.
const int defaultDpi = 96;

// The scale the windows are laid out in: the dots per inch of dc's display
// (defaultDpi when the context cannot tell).
int displayDpi(const CDC& dc);

// Pixels of a picture at 100 % as many pixels at dpi.
int scaledToDpi(int pixels, int dpi);

// Where the bitmap goes at dpi with its top-left corner at (left, top): its
// size at 100 % scaled; an empty rectangle there when the bitmap is missing.
RECT scaledPicture(UINT id, int left, int top, int dpi);

#endif
