// Graphics objects and device contexts of the framework layer's Win32 half:
// CPalette and CFont own their handle and delete it with the object; CDC
// wraps a device context, CClientDC and CPaintDC get and release theirs.
#ifndef ENROLWIZ_FRAMEWORK_WIN32_GDI_H
#define ENROLWIZ_FRAMEWORK_WIN32_GDI_H

#include <windows.h>

class CWnd;

class CGdiObject {
public:
  CGdiObject() = default;
  virtual ~CGdiObject() { DeleteObject(); }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  BOOL Attach(HGDIOBJ object);   // deletes a handle held before
  HGDIOBJ Detach();
  BOOL DeleteObject();

  HGDIOBJ m_hObject = nullptr;
};

class CPalette : public CGdiObject {
public:
  BOOL CreatePalette(const LOGPALETTE* palette);
  int GetEntryCount() const;
  HPALETTE handle() const { return static_cast<HPALETTE>(m_hObject); }
  operator HPALETTE() const { return handle(); }
};

class CFont : public CGdiObject {
public:
  BOOL CreateFontIndirect(const LOGFONTA* font);
  HFONT handle() const { return static_cast<HFONT>(m_hObject); }
  operator HFONT() const { return handle(); }
};

class CDC {
public:
  CDC() = default;
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  // A memory context compatible with dc (the screen when null), deleted
  // with the object.
  BOOL CreateCompatibleDC(CDC* dc);
  void Attach(HDC dc) { m_hDC = dc; }
  HDC Detach();

  HPALETTE SelectPalette(HPALETTE palette, BOOL background)
  {
    return ::SelectPalette(m_hDC, palette, background);
  }
  UINT RealizePalette() { return ::RealizePalette(m_hDC); }
  HGDIOBJ SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
  COLORREF SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
  int GetMapMode() const { return ::GetMapMode(m_hDC); }
  int SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
  void DPtoLP(POINT* points, int count = 1) const { ::DPtoLP(m_hDC, points, count); }
  void LPtoDP(POINT* points, int count = 1) const { ::LPtoDP(m_hDC, points, count); }
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY, DWORD rop)
  {
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sourceX, sourceY, rop);
  }
  BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

  // Text and printing.
  int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
  BOOL GetTextMetrics(TEXTMETRICA* metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }
  HGDIOBJ GetCurrentObject(UINT type) const { return ::GetCurrentObject(m_hDC, type); }
  BOOL TextOut(int x, int y, const char* text, int length) { return ::TextOutA(m_hDC, x, y, text, length); }
  int SetAbortProc(ABORTPROC procedure) { return ::SetAbortProc(m_hDC, procedure); }
  int StartDoc(const DOCINFOA* document) { return ::StartDocA(m_hDC, document); }
  int StartPage() { return ::StartPage(m_hDC); }
  int EndPage() { return ::EndPage(m_hDC); }
  int EndDoc() { return ::EndDoc(m_hDC); }
  int AbortDoc() { return ::AbortDoc(m_hDC); }
  // Deletes an attached context (a printer's) and detaches it.
  BOOL DeleteDC();

  HDC m_hDC = nullptr;

private:
  bool created_ = false;
};

// The client area's context of a window (GetDC / ReleaseDC).
class CClientDC : public CDC {
public:
  explicit CClientDC(CWnd* window);
  ~CClientDC() override;

private:
  HWND window_;
};

// The context of WM_PAINT (BeginPaint / EndPaint).
class CPaintDC : public CDC {
public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps;

private:
  HWND window_;
};

#endif
