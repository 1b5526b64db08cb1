/*
 * libunzip32: lists, tests and extracts ZIP archives (also JAR, self-extracting ZIP files and
 * ZIP64) through one call, Wiz_SingleEntryUnzip. Everything the library does is reported as text
 * through the print callback, in the line protocol described below, plus a result code.
 *
 * Methods: Store, Deflate, BZip2, LZMA, XZ, PPMd and Zstd where the installed libarchive decodes
 * them; encryption: ZipCrypto and WinZip AES-128/192/256. Entry names are UTF-8 when the archive
 * marks them so and CP437 otherwise; the library hands them out as UTF-8 in every callback.
 *
 * The records keep the field order of the original 32-bit interface: numeric fields are uint32_t
 * and pointers are native, so on a 32-bit build every offset below is exact, and a 64-bit build
 * keeps the same order (with the padding its pointers need).
 */
#ifndef UNZIP32_H
#define UNZIP32_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define UNZIP32_API __attribute__((visibility("default")))
#else
#define UNZIP32_API
#endif

/* The options record. Every numeric field is 0 (off) or 1 (on) unless said otherwise. */
typedef struct UZOPTIONS {
    /* 0: extract an entry only when it is newer than the existing file, or no file exists. An
     * existing file that is as new or newer is left, with "Target file newer". */
    uint32_t extractOnlyNewer;
    /* 4: blanks in the names of written files and folders become underscores. */
    uint32_t spaceToUnderscore;
    /* 8: when always-overwrite is 0, ask the replace callback before replacing a file. */
    uint32_t promptToOverwrite;
    /* 12: quiet level. 0 prints every piece; any other value prints nothing. */
    uint32_t quietLevel;
    /* 16: write to standard output. Not supported by this library; must be 0 (else result 10). */
    uint32_t writeToStdout;
    /* 20: test mode: decompress every selected entry and check it, write nothing. */
    uint32_t test;
    /* 24: list mode (when test is 0): print one line per entry, read no data. */
    uint32_t list;
    /* 28: freshen: replace existing files that are older than the entry, create no new ones. */
    uint32_t freshen;
    /* 32: print the archive comment (UTF-8) as one piece before anything else. */
    uint32_t showComment;
    /* 36: 1 recreates the folders stored in the archive; 0 writes every file straight into the
     * destination under its last name component and skips folder entries. */
    uint32_t recreateFolders;
    /* 40: 1 replaces existing files without asking; 0 leaves them ("Target file exists"). */
    uint32_t alwaysOverwrite;
    /* 44: text conversion. Accepted and ignored: data is always written byte for byte. */
    uint32_t textConversion;
    /* 48: archive information. Accepted and ignored. */
    uint32_t archiveInfo;
    /* 52: 1 makes the include names match case-insensitively (ASCII). */
    uint32_t caseInsensitive;
    /* 56: privileges (owners, permissions). Accepted and ignored: files get the default mode. */
    uint32_t privileges;
    /* 60: the archive's path, NUL-terminated. Required. */
    char* archivePath;
    /* 64: the destination folder; null or empty means the current folder. Folders below it are
     * created as entries need them; the destination itself must exist. */
    char* destination;
} UZOPTIONS;

/* Answers of the password callback. */
#define UZ_PW_ENTERED 0    /* the buffer holds the password to try for this entry */
#define UZ_PW_SKIP -1      /* skip this entry; ask again for the next encrypted one */
#define UZ_PW_CANCELALL -2 /* skip this and every later encrypted entry of this call */

/* Size of the buffer handed to the password callback, NUL included. */
#define UZ_PASSWORD_BUFFER_SIZE 256

typedef struct USERFUNCTIONS {
    /* 0: receives every piece of output, NUL-terminated, with its length (without the NUL).
     * The answer is ignored. May be null: then nothing is printed. */
    int (*print)(char* text, uint32_t length);
    /* 4: never called by this library; may be null. */
    void (*sound)(void);
    /* 8: with promptToOverwrite 1 and alwaysOverwrite 0, called with the entry's name before an
     * existing file would be replaced: non-zero replaces it, 0 leaves it ("Target file exists").
     * Null counts as 0. */
    int (*replace)(char* fileName);
    /* 12: called once for each encrypted entry whose data is about to be read (test and extract
     * modes), with a zero-filled buffer of `size` bytes, a prompt and the entry name. The answer
     * is one of UZ_PW_ENTERED, UZ_PW_SKIP, UZ_PW_CANCELALL (any other value counts as UZ_PW_SKIP).
     * A wrong or empty password skips that entry; the library never asks twice for one entry.
     * A password that opened an earlier entry of the same call is tried first, so an entry it
     * fits is decrypted whatever the buffer holds. Null counts as UZ_PW_CANCELALL. */
    int (*password)(char* buffer, int size, const char* prompt, const char* entryName);
    /* 16: in list mode, called once per entry after its line. ratio is the saving in tenths of a
     * percent; month 1-12, year four digits (local time); flag is 'd' for folders, 'l' for links,
     * '-' for files; method a short name ("Stored", "Deflate", ...); crc and compressedSize are
     * those of the central directory, 0 when it could not be read; encrypted is 1 or 0.
     * May be null. */
    void (*listing)(uint32_t size, uint32_t compressedSize, uint32_t ratio, uint32_t month,
                    uint32_t day, uint32_t year, uint32_t hour, uint32_t minute, char flag,
                    const char* name, const char* method, uint32_t crc, char encrypted);
    /* 20: called before every entry, in every mode, with its name and uncompressed size (sizes
     * above 4 GiB give 0xFFFFFFFF). A non-zero answer stops the call at once: result UZ_STOPPED.
     * May be null. */
    int (*service)(const char* entryName, uint32_t entrySize);
    /* 24-36: written by every call that could read the archive. The sizes are sums over all
     * entries (capped at 0xFFFFFFFF); the compression factor is the saving in tenths of a percent;
     * NumMembers counts every entry, files and folders, whatever the mode and the selection. */
    uint32_t TotalCompressedSize;
    uint32_t TotalSize;
    uint32_t CompressionFactor;
    uint32_t NumMembers;
    /* 40: length of the archive comment in bytes as stored. */
    uint16_t CommentLength;
} USERFUNCTIONS;

/* Result codes. When several causes meet in one call the one listed first here wins:
 * UZ_STOPPED, UZ_BADPARAM, UZ_NOTZIP, UZ_MEMORY, UZ_BADSTRUCTURE, UZ_BADDATA, UZ_WRITEFAILED,
 * UZ_PASSWORD, UZ_SKIPPED, UZ_NOMATCH, UZ_OK. */
/* all well (an empty archive included) */
#define UZ_OK 0
/* entries were skipped: existing targets, unsafe paths, methods the library cannot decode */
#define UZ_SKIPPED 1
/* damaged data: a CRC mismatch, a bad or truncated stream */
#define UZ_BADDATA 2
/* damaged structure: headers or central directory unreadable */
#define UZ_BADSTRUCTURE 3
/* out of memory, or an entry declared more working memory than the library allows */
#define UZ_MEMORY 4
/* one or more entries failed for a wrong or missing password */
#define UZ_PASSWORD 5
/* the file is missing, unreadable or not a ZIP archive */
#define UZ_NOTZIP 9
/* a null record or archive path, or an unsupported option */
#define UZ_BADPARAM 10
/* an include name matched no entry */
#define UZ_NOMATCH 11
/* an entry could not be written (disk full, permission, ...) */
#define UZ_WRITEFAILED 50
/* the service callback asked to stop */
#define UZ_STOPPED 80

/*
 * Lists (list 1, test 0), tests (test 1) or extracts (list 0, test 0) the archive of `options`.
 *
 * Selection: with includeCount > 0 only entries whose whole name (as stored, "/" between folders)
 * matches one of includeNames are handled; "*" matches any run of characters, "/" included, and
 * "?" any one character. The exclude names then drop entries in extract mode only (list and test
 * handle every selected entry): an entry is excluded when an exclude name matches it by this rule,
 * case-insensitive (ASCII): the exclude name is cut at every "*" into pieces, empty pieces are
 * ignored, and any piece occurring anywhere in the entry name excludes it; an exclude name
 * without "*" excludes when it occurs anywhere in the entry name; one made only of "*" excludes
 * nothing. Excluded entries print nothing.
 *
 * Output, one piece per print call (NAME is the entry name as stored, "/" between folders,
 * folders ending in "/"; ARCHIVE is archivePath as given; pieces that end a line end in "\n"):
 *   list:    a heading; per entry "  SIZE  MM-DD-YYYY HH:MM   NAME"; a totals line.
 *   test:    per entry "    testing: NAME", then a second piece: "   OK",
 *            "   bad CRC XXXXXXXX (should be XXXXXXXX)" (computed, then stored CRC) or
 *            "   error: REASON". An entry skipped for its password gets one piece instead:
 *            "   skipping: NAME incorrect password" (wrong or empty password) or
 *            "   skipping: NAME unable to get password" (password refused). At the end
 *            "No errors detected in compressed data of ARCHIVE." or
 *            "At least one error was detected in ARCHIVE.", then, when entries were skipped
 *            for their password, "files skipped because of incorrect password: N" and/or
 *            "files skipped for want of a password: N".
 *   extract: per entry "   creating: NAME" (folder), " extracting: NAME" (stored) or
 *            "  inflating: NAME" (any other method), followed by the test mode's second piece
 *            when the data is damaged (the file is then not kept). An existing target left
 *            alone: "  skipping: Target file exists\NAME" or "  skipping: Target file newer\NAME".
 *            An entry that cannot be written: "  warning: cannot create NAME: REASON.".
 *            An unsafe entry (absolute name, drive letter, ".." part, link leading out of the
 *            destination): "  warning: Unsafe path not extracted: NAME." and nothing is written.
 *   test and extract: an entry whose method cannot be decoded:
 *            "   skipping: NAME unsupported method"; an entry whose data declares more working
 *            memory than the library allows (an LZMA dictionary above 256 MiB):
 *            "   skipping: NAME needs more memory than allowed".
 *   every mode: an empty archive: "warning [ARCHIVE]:  zipfile is empty"; a file that is not a
 *            ZIP archive: "  End-of-central-directory signature not found."; a missing file:
 *            "  cannot find or open ARCHIVE."; damaged headers:
 *            "  error: damaged archive structure: REASON"; an include name that matched
 *            nothing: "caution: filename not matched:  NAME".
 * Symbolic links inside the destination are created as links; nothing is ever written through a
 * link. Damaged data never replaces an existing file.
 */
UNZIP32_API int Wiz_SingleEntryUnzip(int includeCount, char** includeNames, int excludeCount,
                                     char** excludeNames, UZOPTIONS* options,
                                     USERFUNCTIONS* userFunctions);

#ifdef __cplusplus
}
#endif

#endif
