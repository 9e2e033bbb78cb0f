#pragma once

#include "platform/posix/Types.h"

// Files and directory search. Paths take '\' as well as '/' as a separator. Only regular files are
// opened, and never in a way that waits: FIFOs, sockets, devices and directories are refused with
// ERROR_ACCESS_DENIED. Within the process share modes work as on Win32: an open that reads or
// writes must be shared that way by every open that reads or writes the file, and must itself
// share what each of them does; opens that do neither conflict with nobody. Between processes only
// an open that shares neither reading nor writing is enforced: it excludes every other open that
// reads or writes, and is refused while there is one.

typedef LONG* PLONG;
typedef struct _OVERLAPPED OVERLAPPED, *LPOVERLAPPED;

typedef struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
} FILETIME, *PFILETIME, *LPFILETIME;

#define MAX_PATH 260

typedef struct _WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
} WIN32_FIND_DATAA, *PWIN32_FIND_DATAA, *LPWIN32_FIND_DATAA;

// Access, sharing and disposition

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u
#define CREATE_NEW 1u
#define OPEN_EXISTING 3u

// Attributes

#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_DEVICE 0x00000040u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u

// File pointer

#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu

// Error codes of the file calls beyond the common ones

#define ERROR_WRONG_DISK 34u
#define ERROR_OPEN_FAILED 110u
#define ERROR_SEEK_ON_DEVICE 132u
#define ERROR_UNRECOGNIZED_VOLUME 1005u
#define ERROR_FILE_INVALID 1006u
#define ERROR_UNRECOGNIZED_MEDIA 1785u

// Files. OPEN_EXISTING opens a regular file; CREATE_NEW makes a new one and fails with
// ERROR_FILE_EXISTS when the name is taken. Other dispositions are ERROR_INVALID_PARAMETER;
// attributes and template are ignored. A missing file is ERROR_FILE_NOT_FOUND, a missing folder on
// the way (or an empty name) ERROR_PATH_NOT_FOUND, a file held in a way that excludes this open
// ERROR_SHARING_VIOLATION.
HANDLE WINAPI CreateFileA(LPCSTR name, DWORD desiredAccess, DWORD shareMode, LPSECURITY_ATTRIBUTES attributes,
                          DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);
// Transfer the whole count unless the end of the file or an error comes first; the count moved so
// far is reported either way. Overlapped transfers are not supported.
BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD count, LPDWORD read, LPOVERLAPPED overlapped);
BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD count, LPDWORD written, LPOVERLAPPED overlapped);
// Without a high part the new position must fit in 32 bits. The position may lie beyond the end.
DWORD WINAPI SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD method);
BOOL WINAPI SetEndOfFile(HANDLE file);
BOOL WINAPI FlushFileBuffers(HANDLE file);
// Creation time is the file system's birth time where it records one, else the last write time.
BOOL WINAPI GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite);

// Directory search. The pattern's last component may hold the wildcards '*' and '?', matched
// without regard to ASCII case; "." and ".." come first when they match. Entries are taken when
// the search starts. Nothing matching is ERROR_FILE_NOT_FOUND, a missing folder
// ERROR_PATH_NOT_FOUND, a wildcard in a folder part ERROR_INVALID_NAME; the end of the list is
// ERROR_NO_MORE_FILES.
HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data);
BOOL WINAPI FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA data);
BOOL WINAPI FindClose(HANDLE search);
