// The gathering file layer: each database file opened under it wraps a file of the system's
// default layer, which sits in the memory right after it, and holds one run of consecutive pages
// not yet written. A write that continues the run joins it; any other write, or any other call
// on the file, first writes the run.
#include "platform/gathering_file_layer.h"

#include <cstdlib>
#include <cstring>
#include <sqlcipher/sqlite3.h>

namespace vornak {

namespace {

// The default layer writes at most 128 KiB less one byte in one call (and reports the rest of a
// longer write as a full disk): a run stays below that.
constexpr sqlite3_int64 runCapacity = 64 << 10;

struct GatheringFile {
    sqlite3_file base;      // its methods are `gatheringMethods`
    sqlite3_file *wrapped;  // the default layer's file, right after this one
    char *run;              // runCapacity bytes, or null until the first write
    sqlite3_int64 runStart;
    sqlite3_int64 runLength;
    int failure;  // of an earlier write of the run; SQLITE_OK when none
};

sqlite3_vfs *defaultLayer = nullptr;

GatheringFile *gathering(sqlite3_file *file)
{
    return reinterpret_cast<GatheringFile *>(file);
}

const sqlite3_io_methods *wrappedMethods(GatheringFile *file)
{
    return file->wrapped->pMethods;
}

// Writes the run; the failure it meets stays with the file.
int writeRun(GatheringFile *file)
{
    if (file->failure == SQLITE_OK && file->runLength > 0)
        file->failure = wrappedMethods(file)->xWrite(file->wrapped, file->run, int(file->runLength), file->runStart);
    file->runLength = 0;
    return file->failure;
}

int gatheringClose(sqlite3_file *handle)
{
    GatheringFile *file = gathering(handle);
    const int written = writeRun(file);
    std::free(file->run);
    file->run = nullptr;
    const int closed = wrappedMethods(file)->xClose(file->wrapped);
    return written != SQLITE_OK ? written : closed;
}

int gatheringRead(sqlite3_file *handle, void *data, int amount, sqlite3_int64 offset)
{
    GatheringFile *file = gathering(handle);
    if (const int code = writeRun(file); code != SQLITE_OK)
        return code;
    return wrappedMethods(file)->xRead(file->wrapped, data, amount, offset);
}

int gatheringWrite(sqlite3_file *handle, const void *data, int amount, sqlite3_int64 offset)
{
    GatheringFile *file = gathering(handle);
    const bool continues =
        file->runLength > 0 && offset == file->runStart + file->runLength && file->runLength + amount <= runCapacity;
    if (!continues) {
        if (const int code = writeRun(file); code != SQLITE_OK)
            return code;
        if (amount > runCapacity / 2)
            return wrappedMethods(file)->xWrite(file->wrapped, data, amount, offset);
        if (!file->run && !(file->run = static_cast<char *>(std::malloc(runCapacity))))
            return wrappedMethods(file)->xWrite(file->wrapped, data, amount, offset);
        file->runStart = offset;
    }
    std::memcpy(file->run + file->runLength, data, std::size_t(amount));
    file->runLength += amount;
    return file->failure;
}

// A call that first writes the run, then passes on to the wrapped file.
template <auto Method, typename... Arguments>
int afterTheRun(sqlite3_file *handle, Arguments... arguments)
{
    GatheringFile *file = gathering(handle);
    if (const int code = writeRun(file); code != SQLITE_OK)
        return code;
    return (wrappedMethods(file)->*Method)(file->wrapped, arguments...);
}

// A call that passes straight on to the wrapped file.
template <auto Method, typename... Arguments>
auto passed(sqlite3_file *handle, Arguments... arguments)
{
    GatheringFile *file = gathering(handle);
    return (wrappedMethods(file)->*Method)(file->wrapped, arguments...);
}

// The wrapped file's shared-memory calls serve the write-ahead log, which the file may get once
// it is built; its pages are never mapped into memory (iVersion 2: the engine reads them).
const sqlite3_io_methods gatheringMethods = {
    2,
    gatheringClose,
    gatheringRead,
    gatheringWrite,
    afterTheRun<&sqlite3_io_methods::xTruncate, sqlite3_int64>,
    afterTheRun<&sqlite3_io_methods::xSync, int>,
    afterTheRun<&sqlite3_io_methods::xFileSize, sqlite3_int64 *>,
    passed<&sqlite3_io_methods::xLock, int>,
    afterTheRun<&sqlite3_io_methods::xUnlock, int>,
    passed<&sqlite3_io_methods::xCheckReservedLock, int *>,
    afterTheRun<&sqlite3_io_methods::xFileControl, int, void *>,
    passed<&sqlite3_io_methods::xSectorSize>,
    passed<&sqlite3_io_methods::xDeviceCharacteristics>,
    passed<&sqlite3_io_methods::xShmMap, int, int, int, void volatile **>,
    passed<&sqlite3_io_methods::xShmLock, int, int, int>,
    passed<&sqlite3_io_methods::xShmBarrier>,
    passed<&sqlite3_io_methods::xShmUnmap, int>,
    nullptr,
    nullptr,
};

int gatheringOpen(sqlite3_vfs *, const char *name, sqlite3_file *handle, int flags, int *outFlags)
{
    if (!(flags & SQLITE_OPEN_MAIN_DB))  // journals and the like: the default layer's own file
        return defaultLayer->xOpen(defaultLayer, name, handle, flags, outFlags);
    GatheringFile *file = gathering(handle);
    std::memset(file, 0, sizeof *file);
    file->wrapped = reinterpret_cast<sqlite3_file *>(file + 1);
    const int code = defaultLayer->xOpen(defaultLayer, name, file->wrapped, flags, outFlags);
    if (code != SQLITE_OK || !file->wrapped->pMethods || file->wrapped->pMethods->iVersion < 2) {
        if (code == SQLITE_OK && file->wrapped->pMethods)
            file->wrapped->pMethods->xClose(file->wrapped);
        return code != SQLITE_OK ? code : SQLITE_CANTOPEN;
    }
    file->base.pMethods = &gatheringMethods;
    return SQLITE_OK;
}

sqlite3_vfs layer;

}  // namespace

const char *gatheringFileLayer()
{
    static const char *const name = [] {
        defaultLayer = sqlite3_vfs_find(nullptr);
        layer = *defaultLayer;
        layer.zName = "vornak-gathering";
        layer.szOsFile = int(sizeof(GatheringFile)) + defaultLayer->szOsFile;
        layer.xOpen = gatheringOpen;
        layer.pNext = nullptr;
        sqlite3_vfs_register(&layer, 0);
        return layer.zName;
    }();
    return name;
}

}  // namespace vornak
