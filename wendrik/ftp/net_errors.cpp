/* Texts of the socket failures, by Winsock number, shared by both platforms. */
#include "net.h"

static const struct {
  int code;
  const char *text;
} FtpNetErrors[] = {
  {0, "No error"},
  {10004, "Interrupted system call"},
  {10009, "Bad file descriptor"},
  {10013, "Permission denied"},
  {10014, "Bad address"},
  {10022, "Invalid argument"},
  {10024, "Too many open files"},
  {10035, "Resource temporarily unavailable"},
  {10036, "Operation now in progress"},
  {10038, "Socket operation on non-socket"},
  {10047, "Address family not supported by protocol"},
  {10048, "Address already in use"},
  {10049, "Cannot assign requested address"},
  {10050, "Network is down"},
  {10051, "Network is unreachable"},
  {10053, "Software caused connection abort"},
  {10054, "Connection reset by peer"},
  {10055, "No buffer space available"},
  {10056, "Transport endpoint is already connected"},
  {10057, "Transport endpoint is not connected"},
  {10058, "Cannot send after transport endpoint shutdown"},
  {10060, "Connection timed out"},
  {10061, "Connection refused"},
  {10064, "Host is down"},
  {10065, "No route to host"},
  {10093, "Socket library not started"},
};

const char *ftpNetErrorText(int code)
{
  for (const auto &entry : FtpNetErrors)
    if (entry.code == code)
      return entry.text;
  return "Unknown socket error";
}
