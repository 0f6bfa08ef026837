// Basic types of the framework layer, the same as the Windows headers give them.
#ifndef ENROLWIZ_FRAMEWORK_TYPES_H
#define ENROLWIZ_FRAMEWORK_TYPES_H

typedef int BOOL;
typedef unsigned int UINT;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// An element position of the framework's collections.
struct PositionTag;
typedef PositionTag* POSITION;

class CWnd;

#endif
