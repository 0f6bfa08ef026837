/* POSIX body of local_files.h: a download into a new file beside its target
 * (mkstemp-like names with O_EXCL, the old file's owner and permissions) put
 * in place by rename; a listing's file by mkstemp. */
#include "../local_files.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

int ftpLocalPrepareTarget(const char *name)
{
  struct stat info;
  if (stat(name, &info) != 0)
    return errno == ENOENT ? 0 : -1;
  /* Read-only: no write permission at all. Checked on the mode, since a
   * privileged user's access() answers yes regardless. */
  if (S_ISREG(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    if (chmod(name, info.st_mode | S_IWUSR) != 0)
      return -1;
  return access(name, W_OK) == 0 ? 0 : -1;
}

int ftpLocalTempFile(char *name, size_t size)
{
  const char *directory = getenv("TMPDIR");
  if (directory == NULL || *directory == '\0')
    directory = P_tmpdir;
  int length = snprintf(name, size, "%s/ftpXXXXXX", directory);
  if (length < 0 || static_cast<size_t>(length) >= size) {
    name[0] = '\0';
    return -1;
  }
  int fd = mkstemp(name);
  if (fd < 0) {
    name[0] = '\0';
    return -1;
  }
  close(fd);
  return 0;
}

FILE *ftpLocalOpenDownload(const char *target, char *part, char *place, size_t size)
{
  part[0] = '\0';
  if (strlen(target) >= size)
    return NULL;
  strcpy(place, target);
  struct stat info;
  int exists = lstat(target, &info) == 0;
  if (exists && S_ISLNK(info.st_mode)) {
    /* The file the link names is replaced, not the link; a link to nothing
     * is opened and written through. */
    char *real = realpath(target, NULL);
    int usable = real != NULL && strlen(real) < size && stat(real, &info) == 0;
    if (usable)
      strcpy(place, real);
    free(real);
    if (!usable)
      return fopen(target, "wb");
  }
  /* A device or a pipe is opened and written directly. */
  if (exists && !S_ISREG(info.st_mode))
    return fopen(target, "wb");
  static unsigned counter;
  const char *slash = strrchr(place, '/');
  int folder = slash ? static_cast<int>(slash - place) + 1 : 0;
  for (int attempt = 0; attempt < 100; attempt++) {
    int length = snprintf(part, size, "%.*sftp%ld_%u.part", folder, place, static_cast<long>(getpid()), counter++);
    if (length < 0 || static_cast<size_t>(length) >= size)
      break;
    int fd = open(part, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST)
        continue;
      break;
    }
    if (exists) {
      /* The old file's owner, group and permissions, as far as this user
       * may give them. */
      int given = fchown(fd, info.st_uid, info.st_gid) == 0 || fchown(fd, static_cast<uid_t>(-1), info.st_gid) == 0;
      (void)given;
      fchmod(fd, info.st_mode & 07777);
    }
    FILE *file = fdopen(fd, "wb");
    if (file != NULL)
      return file;
    close(fd);
    unlink(part);
    break;
  }
  /* The folder takes no new file (the file alone is writable): in place. */
  part[0] = '\0';
  return fopen(target, "wb");
}

int ftpLocalPlaceDownload(const char *part, const char *place)
{
  return rename(part, place) == 0 ? 0 : -1;
}

int ftpLocalRegularFile(FILE *file)
{
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}
