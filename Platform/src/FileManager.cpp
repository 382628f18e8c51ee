// File Manager stand-ins: a reference is the path of an existing file-system object; folders are
// made with mkdir. The result codes are the Mac's for the same situations.
#include <CoreServices/CoreServices.h>
#include <errno.h>
#include <sys/stat.h>
#include <sys/types.h>

#include <cstring>

namespace {

const size_t kRefPathSize = sizeof(FSRef::path);

// The longest name a folder may have (in UTF-16 units), as on the Mac.
const UniCharCount kMaxNameLength = 255;

// Converts a UTF-16 folder name to bytes. Only printable ASCII without '/' is taken: a '/' would
// reach into another folder, and this stand-in has no conversion for other characters.
bool NameToBytes(const UniChar* name, UniCharCount nameLength, char* pszOut) {
    for (UniCharCount i = 0; i < nameLength; ++i) {
        UniChar ch = name[i];
        if (ch < 0x20 || ch > 0x7E || ch == '/') {
            return false;
        }
        pszOut[i] = static_cast<char>(ch);
    }
    pszOut[nameLength] = '\0';
    return true;
}

OSErr ErrorForMkdir(int error) {
    switch (error) {
        case EEXIST:
            return dupFNErr;
        case ENOENT:
        case ENOTDIR:
            return dirNFErr;
        case EACCES:
        case EPERM:
            return afpAccessDenied;
        default:
            return ioErr;
    }
}

}  // namespace

extern "C" OSStatus FSPathMakeRef(const UInt8* path, FSRef* ref, Boolean* isDirectory) {
    if (path == nullptr || ref == nullptr) {
        return paramErr;
    }
    const char* pszPath = reinterpret_cast<const char*>(path);
    size_t nLength = strlen(pszPath);
    if (nLength >= kRefPathSize) {
        return paramErr;
    }
    struct stat st;
    if (stat(pszPath, &st) != 0) {
        return errno == ENAMETOOLONG ? paramErr : fnfErr;
    }
    memset(ref->path, 0, sizeof ref->path);
    memcpy(ref->path, pszPath, nLength);
    if (isDirectory != nullptr) {
        *isDirectory = S_ISDIR(st.st_mode) ? 1 : 0;
    }
    return noErr;
}

extern "C" OSErr FSCreateDirectoryUnicode(const FSRef* parentRef, UniCharCount nameLength, const UniChar* name,
                                          FSCatalogInfoBitmap whichInfo, const FSCatalogInfo* catalogInfo,
                                          FSRef* newRef, FSSpecPtr newSpec, UInt32* newDirID) {
    // Catalog information cannot be set here; only the callers' "none" is accepted. The FSSpec
    // form of the new folder does not exist on this platform, so newSpec is never filled.
    (void)catalogInfo;
    (void)newSpec;
    if (parentRef == nullptr || name == nullptr || nameLength == 0 || nameLength > kMaxNameLength ||
        whichInfo != kFSCatInfoNone) {
        return paramErr;
    }
    size_t nParent = strnlen(parentRef->path, kRefPathSize);
    if (nParent == 0 || nParent >= kRefPathSize) {
        return paramErr;
    }

    char szName[kMaxNameLength + 1];
    if (!NameToBytes(name, nameLength, szName)) {
        return paramErr;
    }

    // parent + "/" + name; a parent that already ends in '/' (the root) takes no second one.
    char szPath[sizeof parentRef->path];
    bool bSlash = parentRef->path[nParent - 1] != '/';
    if (nParent + (bSlash ? 1 : 0) + nameLength >= sizeof szPath) {
        return paramErr;
    }
    memcpy(szPath, parentRef->path, nParent);
    size_t nPos = nParent;
    if (bSlash) {
        szPath[nPos++] = '/';
    }
    memcpy(szPath + nPos, szName, nameLength + 1);

    if (mkdir(szPath, 0777) != 0) {
        return ErrorForMkdir(errno);
    }

    if (newRef != nullptr) {
        memset(newRef->path, 0, sizeof newRef->path);
        memcpy(newRef->path, szPath, strlen(szPath));
    }
    if (newDirID != nullptr) {
        struct stat st;
        *newDirID = stat(szPath, &st) == 0 ? static_cast<UInt32>(st.st_ino) : 0;
    }
    return noErr;
}
