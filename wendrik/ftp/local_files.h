/* Local files of transfers: the download's target and the new file it is
 * received into, the check of an upload's source, a listing's temporary
 * file. One body per platform (posix/local_files.cpp, win32/local_files.cpp). */
#ifndef WENDRIK_FTP_LOCAL_FILES_H
#define WENDRIK_FTP_LOCAL_FILES_H

#include <stddef.h>
#include <stdio.h>

/* Download target: 0 when it can be written (missing files included; a
 * read-only file is made writable), -1 when not. */
int ftpLocalPrepareTarget(const char *name);
/* Where a download (RETR) writes: a new file beside the target, its name in
 * part, to be put in the target's place (place: the target, or the file a
 * symbolic link names) only when the transfer succeeded, so that a failed one
 * leaves the old file as it was. The new file takes the old one's permissions.
 * When the target is no plain file (a device) or its folder takes no new file,
 * the target itself, opened for writing (part then ""). Null when nothing
 * opens. part and place hold size bytes (FTP_PATH_SIZE). */
FILE *ftpLocalOpenDownload(const char *target, char *part, char *place, size_t size);
/* Puts the completed new file in place of the target: 0, or -1. */
int ftpLocalPlaceDownload(const char *part, const char *place);
/* 1 when the open file is a regular file. */
int ftpLocalRegularFile(FILE *file);
/* A new, empty file for a listing, named with the prefix "ftp" in the
 * directory the environment names for temporary files (TMPDIR on Linux, the
 * system's temporary path on Windows); created here, so no other program can
 * take the name in between. 0 with its name in name, -1 when none can be made. */
int ftpLocalTempFile(char *name, size_t size);

#endif
