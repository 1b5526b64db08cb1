/*
 * libunrar: reading RAR archives (RAR 1.5 to 4.x and RAR 5.0), volume sets and self-extracting
 * files through the interface of the UnRAR library for Linux. The two records keep that
 * library's field order, with 4-byte unsigned numbers and native pointers, so either library can
 * serve a program written against this header.
 *
 * Use: RAROpenArchive, then RARReadHeader and RARProcessFile in turn for every entry until
 * RARReadHeader returns ERAR_END_ARCHIVE, then RARCloseArchive. All calls on one handle belong
 * to one thread; callbacks run synchronously inside the call that needs them.
 *
 * Text is UTF-8 throughout: archive paths handed in, entry names handed out (with "/" between
 * folders), destination folders and passwords.
 */
#ifndef TAMBLEWICK_UNRAR_H
#define TAMBLEWICK_UNRAR_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define RAR_API __attribute__((visibility("default")))
#else
#define RAR_API
#endif

/* Results of every call, and the open result and comment states of the records. */
#define ERAR_SUCCESS 0
#define ERAR_END_ARCHIVE 10      /* RARReadHeader: no more entries */
#define ERAR_NO_MEMORY 11        /* out of memory */
#define ERAR_BAD_DATA 12         /* a header or an entry's data is damaged (CRC mismatch) */
#define ERAR_BAD_ARCHIVE 13      /* no RAR archive in the file */
#define ERAR_UNKNOWN_FORMAT 14   /* a RAR signature of a format version this library lacks */
#define ERAR_EOPEN 15            /* the archive or a needed volume could not be opened */
#define ERAR_ECREATE 16          /* the entry could not be created, or was refused as unsafe */
#define ERAR_ECLOSE 17           /* closing the archive or a written file failed */
#define ERAR_EREAD 18            /* reading the archive failed */
#define ERAR_EWRITE 19           /* writing an extracted file failed */
#define ERAR_SMALL_BUF 20        /* a comment did not fit its buffer and was cut */
#define ERAR_UNKNOWN 21          /* stopped by the data callback, or an invalid handle */
#define ERAR_MISSING_PASSWORD 22 /* encrypted headers, or an encrypted entry and no password */
#define ERAR_BAD_PASSWORD 24     /* an encrypted entry this library cannot decrypt */

/* RAROpenArchiveData.OpenMode */
#define RAR_OM_LIST 0    /* headers only: RARProcessFile moves on and reads no data */
#define RAR_OM_EXTRACT 1 /* headers and data: test and extract work */
#define RAR_OM_LIST_INCSPLIT                                                                       \
    2 /* like RAR_OM_LIST, also returning each later part of a split entry */

/* RARProcessFile operations */
#define RAR_SKIP 0
#define RAR_TEST 1
#define RAR_EXTRACT 2

/* Modes of the volume callback */
#define RAR_VOL_ASK 0    /* the next volume is missing: answer 1 to look again, 0 to stop */
#define RAR_VOL_NOTIFY 1 /* moving on to the named volume: answer 1 to go on, 0 to stop */

/* RARHeaderData.Flags */
#define RHDF_SPLITBEFORE 0x01 /* continued from the previous volume */
#define RHDF_SPLITAFTER 0x02  /* continued in the next volume */
#define RHDF_ENCRYPTED 0x04   /* the entry's data is encrypted */
#define RHDF_SOLID 0x10       /* decoding depends on the entries before it */
#define RHDF_DIRECTORY 0x20   /* a folder */

/* RARHeaderData.HostOS */
#define RAR_HOST_MSDOS 0
#define RAR_HOST_OS2 1
#define RAR_HOST_WIN32 2
#define RAR_HOST_UNIX 3
#define RAR_HOST_MACOS 4
#define RAR_HOST_BEOS 5

/* RARHeaderData.FileAttr, always in this form whatever system made the archive */
#define RAR_ATTR_READONLY 0x01
#define RAR_ATTR_HIDDEN 0x02
#define RAR_ATTR_SYSTEM 0x04
#define RAR_ATTR_DIRECTORY 0x10 /* folders carry this bit and no other */
#define RAR_ATTR_ARCHIVE 0x20   /* files always carry a bit other than the folder bit */

struct RAROpenArchiveData {
    char* ArcName;           /* in: path of the archive (of the first volume of a set) */
    unsigned int OpenMode;   /* in: RAR_OM_LIST, RAR_OM_EXTRACT or RAR_OM_LIST_INCSPLIT */
    unsigned int OpenResult; /* out: ERAR_SUCCESS or the reason the archive did not open */
    char* CmtBuf;            /* in: buffer for the archive comment, or NULL */
    unsigned int CmtBufSize; /* in: size of that buffer */
    unsigned int CmtSize;    /* out: bytes of comment copied, the terminating NUL included */
    unsigned int CmtState;   /* out: 1 copied, ERAR_SMALL_BUF cut to fit the buffer, 0 no comment
                                or one this library cannot read (compressed or encrypted) */
};

struct RARHeaderData {
    char ArcName[260];       /* out: the volume holding this entry's header, NUL-terminated */
    char FileName[260];      /* out: entry name with its folders, "/" between them; cut at a
                                whole character when longer */
    unsigned int Flags;      /* out: RHDF_* */
    unsigned int PackSize;   /* out: stored size of this part, low 32 bits */
    unsigned int UnpSize;    /* out: unpacked size, low 32 bits */
    unsigned int HostOS;     /* out: RAR_HOST_* of the system that made the entry */
    unsigned int FileCRC;    /* out: CRC-32 of the unpacked data as the header gives it */
    unsigned int FileTime;   /* out: modification time, MS-DOS form, local time */
    unsigned int UnpVer;     /* out: version needed to unpack: 15..29 for RAR 1.5 to 4.x, 50 */
    unsigned int Method;     /* out: 0x30 stored to 0x35 best compression */
    unsigned int FileAttr;   /* out: RAR_ATTR_* bits */
    char* CmtBuf;            /* in: buffer for an entry comment, or NULL (entries carry none) */
    unsigned int CmtBufSize; /* in: size of that buffer */
    unsigned int CmtSize;    /* out: always 0 */
    unsigned int CmtState;   /* out: always 0 */
};

/* The volume callback: ArcName is the full path of the volume, writable up to 2048 bytes
 * (an asking callback may put another path there before answering 1). */
typedef int (*CHANGEVOLPROC)(char* ArcName, int Mode);

/* The data callback: every block of unpacked data while testing or extracting, in order.
 * Answer nonzero to go on; 0 stops the entry, and RARProcessFile returns ERAR_UNKNOWN. */
typedef int (*PROCESSDATAPROC)(unsigned char* Addr, int Size);

/* Opens an archive or the first volume of a set (also one inside a self-extracting file).
 * Returns a handle, or NULL with OpenResult set: ERAR_EOPEN (cannot open the file),
 * ERAR_BAD_ARCHIVE (no RAR signature), ERAR_UNKNOWN_FORMAT, ERAR_BAD_DATA (broken archive
 * header), ERAR_MISSING_PASSWORD (the headers are encrypted), ERAR_NO_MEMORY. */
RAR_API void* RAROpenArchive(struct RAROpenArchiveData* ArchiveData);

/* Closes the handle and every volume it opened. ERAR_SUCCESS or ERAR_ECLOSE. */
RAR_API int RARCloseArchive(void* hArcData);

/* Reads the next entry's header, moving on through the volumes of a set (each change is
 * announced to the volume callback). Each entry of a set appears once, at its first part,
 * except in RAR_OM_LIST_INCSPLIT. Returns ERAR_SUCCESS, ERAR_END_ARCHIVE, ERAR_BAD_DATA (broken
 * header), ERAR_EOPEN (a needed volume is missing and the callback said stop). */
RAR_API int RARReadHeader(void* hArcData, struct RARHeaderData* HeaderData);

/* Handles the entry whose header was read last. RAR_SKIP moves on. RAR_TEST decodes and checks
 * the CRC, writing nothing. RAR_EXTRACT writes the entry below DestPath (NULL: the current
 * folder), creating the folders it needs and setting its modification time, replacing an
 * existing file; with DestName the file is written under exactly that path instead. On a
 * RAR_OM_LIST handle every operation only moves on. Names that would lead outside the
 * destination (absolute, drive letters, "..") and links pointing out are refused with
 * ERAR_ECREATE and nothing is written. Returns ERAR_SUCCESS, ERAR_BAD_DATA (damaged data,
 * CRC mismatch), ERAR_ECREATE, ERAR_EWRITE, ERAR_ECLOSE, ERAR_EREAD, ERAR_EOPEN (missing
 * volume), ERAR_MISSING_PASSWORD or ERAR_BAD_PASSWORD (encrypted entry, see RARSetPassword),
 * ERAR_UNKNOWN. */
RAR_API int RARProcessFile(void* hArcData, int Operation, char* DestPath, char* DestName);

RAR_API void RARSetChangeVolProc(void* hArcData, CHANGEVOLPROC ChangeVolProc);
RAR_API void RARSetProcessDataProc(void* hArcData, PROCESSDATAPROC ProcessDataProc);

/* Sets the password for encrypted entries. This library cannot decrypt RAR data yet: with a
 * password set, testing or extracting an encrypted entry gives ERAR_BAD_PASSWORD, without one
 * ERAR_MISSING_PASSWORD; nothing is written in either case. */
RAR_API void RARSetPassword(void* hArcData, char* Password);

/* Version of this interface (the UnRAR library's numbering). */
#define RAR_DLL_VERSION 8
RAR_API int RARGetDllVersion(void);

#ifdef __cplusplus
}
#endif

#endif
