// Browser bookmarks: the maker's sites that the customer ticked, added to the
// default browser (HKEY_CLASSES_ROOT\.htm): an entry appended to Netscape's
// bookmark file, or an Internet shortcut in Internet Explorer's Favorites.
#ifndef ENROLWIZ_OFFLINE_BOOKMARKS_H
#define ENROLWIZ_OFFLINE_BOOKMARKS_H

#include "framework/cstring.h"

class RegistrationRecord;

// Adds the record's ticked bookmarks (boxes 0, 1, 2, titles and addresses by
// the brand's string ids) in order. At the first failure it stops and reports
// message 122 as a warning; the caller goes on with the submission. True when
// every ticked bookmark was added.
bool addBookmarks(const RegistrationRecord& record);

// One site in the default browser: 1 when it was added, 0 when not (no or an
// unknown default browser, no Netscape bookmark file, a file that cannot be
// written, no Favorites folder, a shortcut that could not be saved).
int addBookmark(const CString& title, const CString& address);

// Netscape's entry line for a site, with its line end.
CString netscapeBookmarkEntry(const CString& title, const CString& address);

#endif
