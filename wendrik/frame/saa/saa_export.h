/* How a module offers an entry point across the SAA boundary: the package
 * its two exports, an interpreter (or a program standing in for one) its
 * services. Kept apart from saa.h, which brings the interpreter's own
 * declarations of those services, so that a stand-in can define them. */
#ifndef WENDRIK_FRAME_SAA_EXPORT_H
#define WENDRIK_FRAME_SAA_EXPORT_H

#ifdef _WIN32
#define SAA_EXPORT extern "C" __declspec(dllexport)
#else
#define SAA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#endif
