// A new GUID in its registry text form, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
// (a port: CoCreateGuid and StringFromGUID2 on Windows); the empty text when
// none can be made.
#ifndef ENROLWIZ_FRAMEWORK_GUID_H
#define ENROLWIZ_FRAMEWORK_GUID_H

#include "framework/cstring.h"

CString newGuidText();

#endif
