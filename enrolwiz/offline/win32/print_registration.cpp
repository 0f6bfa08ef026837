// Printing of the mail-in registration form: the system's print dialog, the
// modeless cancel dialog with its abort procedure, the form's lines paged
// down the printable height.
#include <windows.h>

#include "offline/print_registration.h"

#include "framework/win32/dialog.h"
#include "framework/win32/gdi.h"
#include "framework/win32/print_dialog.h"
#include "offline/print_form.h"
#include "res/resource.h"
#include "string_ids.h"
#include "tables/language_profile.h"
#include "tables/language_table.h"

namespace {

// Set when the customer presses Cancel while the document is printed.
bool aborted = false;
HWND cancelDialog = nullptr;

class PrintCancelDialog : public CDialog {
public:
  PrintCancelDialog() : CDialog(IDD_PRINT_CANCEL) {}

protected:
  void OnCancel() override
  {
    aborted = true;
    DestroyWindow();
  }
};

// Keeps the cancel dialog answering while the printer driver works.
BOOL CALLBACK abortProcedure(HDC, int)
{
  MSG message;
  while (!aborted && ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!cancelDialog || !::IsDialogMessageA(cancelDialog, &message)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }
  return !aborted;
}

bool printsInTwelvePoints()
{
  int id = activeLanguage()->languageId();
  return id == polishLanguageId || id == czechLanguageId;
}

// 25 mm in device units of a length of units device units and size mm.
int margin(int units, int size)
{
  return size > 0 ? static_cast<int>(25.0 * units / size) : 0;
}

struct PageGeometry {
  int left;
  int top;
  int lineHeight;
  int linesPerPage;
};

PageGeometry pageGeometry(CDC& dc)
{
  int width = dc.GetDeviceCaps(PHYSICALWIDTH);
  int height = dc.GetDeviceCaps(PHYSICALHEIGHT);
  int across = margin(width, dc.GetDeviceCaps(HORZSIZE));
  int down = margin(height, dc.GetDeviceCaps(VERTSIZE));
  PageGeometry page;
  page.left = dc.GetDeviceCaps(PHYSICALOFFSETX);
  if (page.left < across + across / 2)
    page.left = across + across / 2;
  page.top = dc.GetDeviceCaps(PHYSICALOFFSETY);
  if (page.top < down)
    page.top = down;
  TEXTMETRICA metrics = {};
  dc.GetTextMetrics(&metrics);
  page.lineHeight = metrics.tmHeight;
  // A driver that reports no line height or no room still gets one line a
  // page, so that the paging always moves on.
  page.linesPerPage = page.lineHeight > 0 ? (height - 2 * page.top) / page.lineHeight : 0;
  if (page.linesPerPage < 1)
    page.linesPerPage = 1;
  return page;
}

// The pages of the document; -2 at the first failing call, else 0.
int printPages(CDC& dc, const PageGeometry& page, const CStringList& lines)
{
  if (dc.StartPage() < 1)
    return -2;
  POSITION position = lines.GetHeadPosition();
  while (position) {
    int y = page.top;
    for (int n = 0; n < page.linesPerPage && position; ++n) {
      const CString& line = lines.GetNext(position);
      dc.TextOut(page.left, y, line, line.GetLength());
      y += page.lineHeight;
    }
    if (position && (dc.EndPage() < 1 || dc.StartPage() < 1))
      return -2;
  }
  return dc.EndPage() < 1 ? -2 : 0;
}

}  // namespace

int printRegistration(CWnd* mainWindow)
{
  aborted = false;
  cancelDialog = nullptr;

  CPrintDialog printDialog(FALSE, PD_USEDEVMODECOPIESANDCOLLATE, mainWindow);
  printDialog.DoModal();
  CDC dc;
  dc.Attach(printDialog.GetPrinterDC());
  if (!dc.m_hDC)
    return -1;

  CFont font;
  HGDIOBJ oldFont = nullptr;
  if (printsInTwelvePoints()) {
    LOGFONTA face = {};
    ::GetObjectA(dc.GetCurrentObject(OBJ_FONT), sizeof face, &face);
    face.lfHeight = -(12 * dc.GetDeviceCaps(LOGPIXELSY)) / 72;
    face.lfWidth = 0;
    if (font.CreateFontIndirect(&face))
      oldFont = dc.SelectObject(font);
  }

  PrintCancelDialog cancel;
  if (cancel.Create(mainWindow)) {
    cancel.ShowWindow(SW_SHOW);
    cancel.UpdateWindow();
    cancelDialog = cancel.m_hWnd;
  }
  if (mainWindow && mainWindow->m_hWnd)
    mainWindow->EnableWindow(FALSE);
  dc.SetAbortProc(abortProcedure);

  PageGeometry page = pageGeometry(dc);
  CString documentName = loadText(IDS_PRINT_DOCUMENT);
  CStringList lines;
  PrintForm::build(lines);

  DOCINFOA document = {};
  document.cbSize = sizeof document;
  document.lpszDocName = documentName;
  int result = -2;
  if (dc.StartDoc(&document) >= 1) {
    result = printPages(dc, page, lines);
    if (result == 0)
      dc.EndDoc();
    else if (!aborted)
      dc.AbortDoc();    // a failed page: the half-made document is dropped
  }

  if (aborted) {
    dc.AbortDoc();
    result = -2;
  } else if (cancel.m_hWnd) {
    cancel.DestroyWindow();
  }
  cancelDialog = nullptr;
  if (mainWindow && mainWindow->m_hWnd) {
    mainWindow->EnableWindow(TRUE);
    mainWindow->SetFocus();
  }
  if (oldFont)
    dc.SelectObject(oldFont);
  dc.DeleteDC();
  return result;
}
