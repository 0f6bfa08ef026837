/* Win32 body of local_files.h: a download into a new file beside its target
 * (GetTempFileNameA in the target's folder) put in place by MoveFileExA; a
 * listing's file by GetTempFileNameA in the system's temporary path. */
#include "../local_files.h"

#include <windows.h>
#include <errno.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

int ftpLocalPrepareTarget(const char *name)
{
  if (_access(name, 2) == 0)
    return 0;
  if (errno == ENOENT)
    return 0;
  struct _stat info;
  if (_stat(name, &info) != 0 || (info.st_mode & _S_IFREG) == 0)
    return -1;
  /* Exists but read-only: clear the read-only attribute. */
  return _chmod(name, _S_IREAD | _S_IWRITE) == 0 ? 0 : -1;
}

int ftpLocalTempFile(char *name, size_t size)
{
  char directory[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof directory, directory);
  /* GetTempFileNameA writes up to MAX_PATH characters and creates the file. */
  if (length == 0 || length >= sizeof directory || size < MAX_PATH ||
      GetTempFileNameA(directory, "ftp", 0, name) == 0) {
    if (size)
      name[0] = '\0';
    return -1;
  }
  return 0;
}

FILE *ftpLocalOpenDownload(const char *target, char *part, char *place, size_t size)
{
  part[0] = '\0';
  if (strlen(target) >= size)
    return NULL;
  strcpy(place, target);
  /* A device (NUL, CON, COM1) or a folder is opened directly. */
  HANDLE existing = CreateFileA(target, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
  if (existing != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION information;
    int plain = GetFileType(existing) == FILE_TYPE_DISK && GetFileInformationByHandle(existing, &information) &&
                !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(existing);
    if (!plain)
      return fopen(target, "wb");
  }
  char full[MAX_PATH];
  char *name = NULL;
  DWORD length = GetFullPathNameA(target, sizeof full, full, &name);
  if (length > 0 && length < sizeof full && name != NULL && size >= MAX_PATH) {
    *name = '\0';   /* the folder, with its backslash */
    if (GetTempFileNameA(full, "ftp", 0, part) != 0) {
      FILE *file = fopen(part, "wb");
      if (file != NULL)
        return file;
      DeleteFileA(part);
    }
  }
  /* The folder takes no new file (the file alone is writable): in place. */
  part[0] = '\0';
  return fopen(target, "wb");
}

int ftpLocalPlaceDownload(const char *part, const char *place)
{
  return MoveFileExA(part, place, MOVEFILE_REPLACE_EXISTING) ? 0 : -1;
}

int ftpLocalRegularFile(FILE *file)
{
  struct _stat info;
  return _fstat(_fileno(file), &info) == 0 && (info.st_mode & _S_IFREG) != 0;
}
