/* libunacev2: extraction of ACE 1.0 and 2.0 archives behind a small C interface.
 *
 * A client initialises the library once with ACEInitDll, handing over four callback routines,
 * and then runs whole-archive operations: ACEList, ACETest and ACEExtract. Everything that
 * happens inside an operation reaches the client through the callbacks, each of which answers
 * with ACE_ANSWER_OK, ACE_ANSWER_NO or ACE_ANSWER_CANCEL.
 *
 * Records keep one field order; numbers are fixed-width and pointers native, so the byte offsets
 * given beside the fields hold on a 32-bit build and the same header serves a 64-bit one.
 * Reserved space is zero on input and left zero by the library. Texts are NUL-terminated UTF-8
 * (entry names are converted from the archive's OEM code page); "/" separates folders.
 */
#ifndef UNACEV2_H
#define UNACEV2_H

#include <stdint.h>

#if defined(__GNUC__)
#define ACE_EXPORT __attribute__((visibility("default")))
#else
#define ACE_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Answers of the callback routines ------------------------------------------------- */
#define ACE_ANSWER_OK 0     /* go on (for an existing target: overwrite it) */
#define ACE_ANSWER_NO 1     /* skip this entry (for an existing target: keep it) */
#define ACE_ANSWER_CANCEL 2 /* end the operation; it returns ACE_RESULT_USER_BREAK */

/* ---- Results of ACEInitDll, ACEReadArchiveData, ACEList, ACETest, ACEExtract --------- */
#define ACE_RESULT_OK 0
#define ACE_RESULT_NO_MEMORY 1
#define ACE_RESULT_NO_FILES 2  /* the file list selected nothing */
#define ACE_RESULT_NOT_FOUND 3 /* the archive, or a volume it needs, does not exist */
#define ACE_RESULT_DISK_FULL 4
#define ACE_RESULT_CANNOT_OPEN 5 /* cannot be opened, or is no ACE archive */
#define ACE_RESULT_READ_ERROR 6
#define ACE_RESULT_WRITE_ERROR 7
#define ACE_RESULT_INVALID_CALL 8 /* a missing record, ACEInitDll not called */
#define ACE_RESULT_CRC_ERROR 9    /* damaged data or headers, or a wrong password */
#define ACE_RESULT_OTHER 10       /* a method this library cannot decode, a refused name */
#define ACE_RESULT_FILE_EXISTS 11 /* an existing target was kept */
#define ACE_RESULT_USER_BREAK 255 /* a callback answered ACE_ANSWER_CANCEL */

/* ---- Callback record types ------------------------------------------------------------ */
#define ACE_RECORD_GLOBAL 0   /* about the library as a whole */
#define ACE_RECORD_ARCHIVE 1  /* about an archive file (a volume) */
#define ACE_RECORD_ENTRY 2    /* about one entry of the archive */
#define ACE_RECORD_PROGRESS 3 /* information routine: how far the operation is */

/* ---- Error codes (error routine) ------------------------------------------------------ */
/* global records */
#define ACE_ERROR_MEMORY 512
#define ACE_ERROR_SPACE 518
/* archive records: the archive data names the file concerned */
#define ACE_ERROR_AV 546              /* reserved: authenticity check, never raised */
#define ACE_ERROR_ARCHIVE_MISSING 550 /* a volume the archive continues in does not exist */
#define ACE_ERROR_READ 552
#define ACE_ERROR_BROKEN 556 /* damaged headers or packed data, wrong password */
#define ACE_ERROR_NO_FILES 558
#define ACE_ERROR_NOT_ACE 559
#define ACE_ERROR_VERSION 561 /* made by a later ACE than this library reads */
/* entry records */
#define ACE_ERROR_DESTINATION 576 /* the destination folder cannot be used */
#define ACE_ERROR_WRITE 580
#define ACE_ERROR_OPEN 582   /* the target file cannot be opened for writing */
#define ACE_ERROR_METHOD 586 /* packed with a method or dictionary this library lacks */
#define ACE_ERROR_DISK_SPACE 587
#define ACE_ERROR_CREATE                                                                           \
    588 /* refused name (absolute, drive, ".."), or a folder or                                    \
           file that cannot be created */

/* ---- Request codes (request routine) -------------------------------------------------- */
#define ACE_REQUEST_VOLUME                                                                         \
    801                           /* archive record: the next volume, named in the archive data,   \
                                     is about to be read; ACE_ANSWER_CANCEL stops */
#define ACE_REQUEST_OVERWRITE 832 /* entry record: the target exists; OK overwrites, NO skips */
#define ACE_REQUEST_PASSWORD                                                                       \
    835 /* entry record: an encrypted entry and no password yet; the                               \
           routine stores the password in the global data */

/* ---- State codes (state routine) ------------------------------------------------------ */
#define ACE_STATE_ENTRY_BEGIN 1040 /* entry record: an entry begins; NO skips it */

/* ---- Operations (callback records of type ACE_RECORD_ENTRY) --------------------------- */
#define ACE_OPERATION_LIST 0
#define ACE_OPERATION_TEST 1
#define ACE_OPERATION_EXTRACT 3

/* Attributes of entries (DOS bits). */
#define ACE_ATTRIBUTE_READ_ONLY 0x01u
#define ACE_ATTRIBUTE_DIRECTORY 0x10u

/* Archive flags (AceArchiveData.flags, AceArchiveInfo.flags). */
#define ACE_ARCHIVE_COMMENT 0x0002u
#define ACE_ARCHIVE_SFX 0x0200u
#define ACE_ARCHIVE_MULTIVOLUME 0x0800u
#define ACE_ARCHIVE_AV 0x1000u
#define ACE_ARCHIVE_RECOVERY 0x2000u
#define ACE_ARCHIVE_LOCKED 0x4000u
#define ACE_ARCHIVE_SOLID 0x8000u

/* Library-wide data, passed in entry records. */
typedef struct AceGlobalData {
    uint32_t reserved1[6];  /*  0 */
    const char* password;   /* 24: the password the library decrypts with; NULL for none. The
                               password request stores a pointer here, which must stay valid
                               until the operation ends. Reset to the operation record's
                               password at the start of every operation. */
    uint32_t reserved2[16]; /* 28 */
} AceGlobalData;

/* The archive file (volume) a record is about. */
typedef struct AceArchiveData {
    const char* archiveName;   /*  0: path of the archive file or volume */
    uint32_t flags;            /*  4: ACE_ARCHIVE_... */
    uint32_t volumeNumber;     /*  8: 0 for the first volume */
    uint32_t versionToExtract; /* 12: ×10: 10 = ACE 1.0, 20 = ACE 2.0 */
    uint32_t versionCreated;   /* 16: ×10 */
    uint32_t hostOs;           /* 20: 0 MS-DOS, 1 OS/2, 2 Win32, 3 Unix, … */
    uint32_t created;          /* 24: MS-DOS date and time */
    uint32_t reserved[9];      /* 28 */
} AceArchiveData;

/* The entry a record is about. */
typedef struct AceEntryData {
    const char* name;        /*  0: entry name with its folders, "/" between them */
    const char* targetPath;  /*  4: destination + name while extracting (the file written);
                                    the name otherwise */
    uint64_t packedSize;     /*  8: packed bytes of this entry (all its volume parts) */
    uint64_t size;           /* 16: unpacked size */
    uint32_t crc32;          /* 24: ACE CRC-32 of the contents */
    uint32_t dosTime;        /* 28: modification time, MS-DOS date and time (local) */
    uint32_t method;         /* 32: 0 stored, 1 ACE 1.0 LZ77, 2 ACE 2.0 blocked */
    uint32_t quality;        /* 36: compression level the archiver used */
    uint32_t dictionaryBits; /* 40: log2 of the dictionary size */
    uint32_t attributes;     /* 44: DOS attributes (ACE_ATTRIBUTE_...) */
    uint32_t flags;          /* 48: file header flags (bit 14 encrypted, bit 15 solid) */
    uint32_t reserved[8];    /* 52 */
} AceEntryData;

/* Progress, in information records. */
typedef struct AceProgressData {
    uint64_t entryDone; /* bytes of the current entry decoded so far */
    uint64_t entrySize; /* its size */
    uint32_t reserved[4];
} AceProgressData;

/* What every callback routine receives. Fields that do not apply to a record type are 0. */
typedef struct AceCallbackRecord {
    uint32_t type;             /*  0: ACE_RECORD_... */
    uint32_t code;             /*  4: error, request or state code; 0 in information records */
    uint32_t operation;        /*  8: ACE_OPERATION_..., in entry and progress records */
    AceGlobalData* global;     /* 12: in entry records */
    AceArchiveData* archive;   /* 16: in archive, entry and progress records */
    AceEntryData* entry;       /* 20: in entry and progress records */
    AceProgressData* progress; /* 24: in progress records */
    uint32_t reserved[8];      /* 28 */
} AceCallbackRecord;

typedef int32_t (*AceCallbackRoutine)(AceCallbackRecord* record);

/* ACEInitDll's record. */
typedef struct AceInitRecord {
    uint32_t reserved1;              /*   0 */
    uint32_t headerSearchSize;       /*   4: how many bytes at the start of a file are searched for
                                            an archive behind a self-extracting module; 0 gives
                                            512 KiB */
    uint32_t bufferSize;             /*   8: read/write buffer size, a hint */
    uint32_t reserved2[21];          /*  12 */
    const char* tempFolder;          /*  96: folder for temporary files (this library writes
                                            none there; kept for clients that set it) */
    uint32_t reserved3[19];          /* 100 */
    AceCallbackRoutine infoRoutine;  /* 176: progress records; CANCEL stops the operation */
    AceCallbackRoutine errorRoutine; /* 180: errors; the answer is taken as advice, see below */
    AceCallbackRoutine requestRoutine; /* 184: volume, overwrite, password */
    AceCallbackRoutine stateRoutine;   /* 188: ACE_STATE_ENTRY_BEGIN */
    uint32_t reserved4[32];            /* 192 */
} AceInitRecord;

/* The file selection at the start of the three operation records. */
typedef struct AceFileSelection {
    const char* sourceFolder;  /*  0: folder inside the archive to work below ("" or NULL:
                                      the whole archive); file-list names are relative to it */
    const char* fileList;      /*  4: names to process, separated by "\r" or "\n", "*" and "?"
                                      as wildcards; "" or NULL: every entry */
    const char* excludeList;   /*  8: ACEExtract only: masks separated by "\r"; an entry whose
                                      name holds any "*"-separated piece of a mask
                                      (case-insensitive) is not extracted */
    uint32_t fullPathMatching; /* 12: 1: file-list names match the whole entry path; 0: a name
                                      without "/" matches the entry's last part */
} AceFileSelection;

typedef struct AceListRecord {
    AceFileSelection files; /*   0 */
    uint32_t reserved[32];  /*  16 */
} AceListRecord;            /* 144 bytes on a 32-bit build */

typedef struct AceTestRecord {
    AceFileSelection files; /*   0 */
    uint32_t reserved1[16]; /*  16 */
    const char* password;   /*  80: password for encrypted entries; "" or NULL: ask */
    uint32_t reserved2[16]; /*  84 */
} AceTestRecord;            /* 148 bytes on a 32-bit build */

typedef struct AceExtractRecord {
    AceFileSelection files;  /*   0 */
    uint32_t reserved1[16];  /*  16 */
    const char* destination; /*  80: existing folder the entries go below */
    uint32_t leaveOutPaths;  /*  84: 1: write every file straight into the destination */
    const char* password;    /*  88: password for encrypted entries; "" or NULL: ask */
    uint32_t reserved2[16];  /*  92 */
} AceExtractRecord;          /* 156 bytes on a 32-bit build */

/* ACEReadArchiveData's record. */
typedef struct AceArchiveInfo {
    uint32_t flags;            /*  0: ACE_ARCHIVE_... */
    uint32_t volumeNumber;     /*  4 */
    uint32_t versionToExtract; /*  8: ×10 */
    uint32_t versionCreated;   /* 12: ×10 */
    uint32_t hostOs;           /* 16 */
    uint32_t created;          /* 20: MS-DOS date and time */
    uint32_t reserved[10];     /* 24 */
} AceArchiveInfo;

/* Keeps the record's settings and routines for the operations that follow. Returns
 * ACE_RESULT_OK, or ACE_RESULT_INVALID_CALL for a NULL record. */
ACE_EXPORT int32_t ACEInitDll(const AceInitRecord* init);

/* Fills info from the main header of archiveName (found behind a self-extracting module too). */
ACE_EXPORT int32_t ACEReadArchiveData(const char* archiveName, AceArchiveInfo* info);

/* The three operations. Each calls the state routine with ACE_STATE_ENTRY_BEGIN for every
 * selected entry, and returns ACE_RESULT_OK or the first failure's result.
 *
 * Errors: the error routine hears about every failure. For entry errors an answer of
 * ACE_ANSWER_OK goes on with the next entry; for archive errors the operation ends. An answer
 * of ACE_ANSWER_CANCEL always ends it, with the result of the error (not USER_BREAK).
 *
 * Safety: entry names that are absolute, carry a drive letter or a ".." part are refused
 * (ACE_ERROR_CREATE) whatever the routines answer; nothing is written outside the destination,
 * and no symbolic link on the way is followed. */
ACE_EXPORT int32_t ACEList(const char* archiveName, const AceListRecord* list);
ACE_EXPORT int32_t ACETest(const char* archiveName, const AceTestRecord* test);
ACE_EXPORT int32_t ACEExtract(const char* archiveName, const AceExtractRecord* extract);

#ifdef __cplusplus
}
#endif

#endif /* UNACEV2_H */
