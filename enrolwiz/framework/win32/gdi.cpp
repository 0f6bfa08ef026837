// Graphics objects and device contexts.
#include "framework/win32/gdi.h"

#include "framework/win32/window.h"

BOOL CGdiObject::Attach(HGDIOBJ object)
{
  DeleteObject();
  m_hObject = object;
  return object != nullptr;
}

HGDIOBJ CGdiObject::Detach()
{
  HGDIOBJ object = m_hObject;
  m_hObject = nullptr;
  return object;
}

BOOL CGdiObject::DeleteObject()
{
  if (!m_hObject)
    return FALSE;
  BOOL done = ::DeleteObject(m_hObject);
  m_hObject = nullptr;
  return done;
}

BOOL CPalette::CreatePalette(const LOGPALETTE* palette)
{
  return Attach(::CreatePalette(palette));
}

int CPalette::GetEntryCount() const
{
  WORD count = 0;
  if (m_hObject && ::GetObjectA(m_hObject, sizeof count, &count) == sizeof count)
    return count;
  return 0;
}

BOOL CFont::CreateFontIndirect(const LOGFONTA* font)
{
  return Attach(::CreateFontIndirectA(font));
}

CDC::~CDC()
{
  if (created_ && m_hDC)
    ::DeleteDC(m_hDC);
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
  m_hDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
  created_ = m_hDC != nullptr;
  return created_;
}

BOOL CDC::DeleteDC()
{
  if (!m_hDC)
    return FALSE;
  return ::DeleteDC(Detach());
}

HDC CDC::Detach()
{
  HDC dc = m_hDC;
  m_hDC = nullptr;
  created_ = false;
  return dc;
}

CClientDC::CClientDC(CWnd* window) : window_(window ? window->m_hWnd : nullptr)
{
  m_hDC = ::GetDC(window_);
}

CClientDC::~CClientDC()
{
  if (m_hDC)
    ::ReleaseDC(window_, Detach());
}

CPaintDC::CPaintDC(CWnd* window) : m_ps(), window_(window->m_hWnd)
{
  m_hDC = ::BeginPaint(window_, &m_ps);
}

CPaintDC::~CPaintDC()
{
  ::EndPaint(window_, &m_ps);
  Detach();
}
