/* The warning box of the FTP engine, captioned "Wendrik Error": a message box
 * on Windows (win32/warning_box.cpp), a line on standard error elsewhere
 * (posix/warning_box.cpp). */
#ifndef WENDRIK_FTP_WARNING_BOX_H
#define WENDRIK_FTP_WARNING_BOX_H

void ftpWarningBox(const char *text);

#endif
