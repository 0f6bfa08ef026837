// Browser bookmarks.
#include "offline/bookmarks.h"

#include "app/reg_exception.h"
#include "data/registration_record.h"
#include "framework/file.h"
#include "framework/registry.h"
#include "framework/registry_readers.h"
#include "net/browser_settings.h"
#include "offline/internet_shortcut.h"
#include "string_ids.h"
#include "tables/brand_profile.h"

namespace {

const char shellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Appends the entry to the existing bookmark file, never creating one.
int addNetscapeBookmark(const CString& title, const CString& address)
{
  CString path = findNetscapeUserFile("bookmark.htm");
  if (path.IsEmpty())
    return 0;
  CStdioFile file;
  if (!file.Open(path, CFile::modeReadWrite | CFile::typeText))
    return 0;
  try {
    file.SeekToEnd();
    file.WriteString(netscapeBookmarkEntry(title, address));
    file.Close();
  } catch (CException* failure) {
    failure->Delete();
    file.Abort();
    return 0;
  }
  return 1;
}

int addExplorerFavorite(const CString& title, const CString& address)
{
  CString favorites = readRegistryText(registryCurrentUser, shellFolders, "Favorites");
  if (favorites.IsEmpty())
    return 0;
  return saveInternetShortcut(favorites + "\\" + title + ".url", address) ? 1 : 0;
}

}  // namespace

CString netscapeBookmarkEntry(const CString& title, const CString& address)
{
  return "<DT><A HREF=\"" + address +
         "\" ADD_DATE=\"910212194\" LAST_VISIT=\"0\" LAST_MODIFIED=\"0\">" + title + "</A>\n";
}

int addBookmark(const CString& title, const CString& address)
{
  CString browser = readRegistryText(registryClassesRoot, ".htm", "");
  if (browser.CompareNoCase("NetscapeMarkup") == 0)
    return addNetscapeBookmark(title, address);
  if (browser.CompareNoCase("htmlfile") == 0)
    return addExplorerFavorite(title, address);
  return 0;
}

bool addBookmarks(const RegistrationRecord& record)
{
  const BrandProfile& profile = brand();
  int count = profile.surveyListCount();
  bool ok = true;
  for (int i = 0; i < count && ok; ++i) {
    if (record.bookmarkChoice(i) != 0)
      ok = addBookmark(loadText(profile.bookmarkTitleId(i)), loadText(profile.bookmarkAddressId(i))) != 0;
  }
  if (!ok) {
    CRegException failure(IDS_BOOKMARKS_FAILED, nullptr);
    failure.Report();
  }
  return ok;
}
