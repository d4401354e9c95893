// The power-cut file layer (see the header). Every write is passed on at once, so the files always
// hold what was last written, as the operating system's cache would; beside them the layer keeps,
// per file, each version of every sector written since the last sync (the first as it was then).
// A cut chooses one version for each such sector, writes the chosen versions back over the files
// and cuts off growth past the last byte kept: the files then hold what the disk would.
#include "tests/reliability/power_cut_vfs.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <QByteArray>
#include <type_traits>
#include <vector>

namespace vornak::testing {

namespace {

constexpr sqlite3_int64 sectorSize = 512;

}  // namespace

struct PowerCutVfs::File {
    PowerCutVfs *owner;
    sqlite3_file *real;  // the wrapped layer's file, in the engine's allocation after the handle
    QString path;        // empty for a temporary file, which is not at risk
};

struct PowerCutVfs::Disk {
    // A sector written since the last sync: its versions in the order they were written, the
    // first as it was at the sync; and for each, how far into the sector the file reached with
    // it (0 for the first: the file then reached as far as it did at the sync).
    struct Sector {
        QList<QByteArray> versions;
        QList<int> extents;
    };

    sqlite3_int64 syncedSize = 0;
    std::map<sqlite3_int64, Sector> unsynced;  // by sector number
};

namespace {

using File = PowerCutVfs::File;

// What the engine holds for an open file: its record, then our state.
struct Handle {
    sqlite3_file base;
    File *file;
};
static_assert(std::is_standard_layout_v<Handle>);

constexpr size_t handleSize = (sizeof(Handle) + 15) / 16 * 16;

File &fileOf(sqlite3_file *file)
{
    return *reinterpret_cast<Handle *>(file)->file;
}

sqlite3_file *realOf(sqlite3_file *file)
{
    return fileOf(file).real;
}

sqlite3_int64 sizeOf(sqlite3_file *real)
{
    sqlite3_int64 size = 0;
    real->pMethods->xFileSize(real, &size);
    return size;
}

}  // namespace

// The engine's entry points: each passes its call to the wrapped layer, noting writes and syncs,
// and fails what a machine without power cannot do.
struct PowerCutCallbacks {
    static PowerCutVfs &owner(sqlite3_file *file) { return *fileOf(file).owner; }
    static PowerCutVfs &owner(sqlite3_vfs *vfs) { return *static_cast<PowerCutVfs *>(vfs->pAppData); }

    static int close(sqlite3_file *file)
    {
        File &f = fileOf(file);
        f.owner->noteClose(f);
        const int code = f.real->pMethods ? f.real->pMethods->xClose(f.real) : SQLITE_OK;
        delete &f;
        return code;
    }
    static int read(sqlite3_file *file, void *data, int amount, sqlite3_int64 offset)
    {
        if (owner(file).cut_)
            return SQLITE_IOERR_READ;
        return realOf(file)->pMethods->xRead(realOf(file), data, amount, offset);
    }
    static int write(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
    {
        PowerCutVfs &vfs = owner(file);
        if (vfs.cut_)
            return SQLITE_IOERR_WRITE;
        vfs.noteWrite(fileOf(file), data, amount, offset);
        const int code = realOf(file)->pMethods->xWrite(realOf(file), data, amount, offset);
        if (vfs.writesBeforeCut_ > 0 && --vfs.writesBeforeCut_ == 0) {
            vfs.cutPower();  // the power goes while this write is under way: it was never acknowledged
            return SQLITE_IOERR_WRITE;
        }
        return code;
    }
    static int truncate(sqlite3_file *file, sqlite3_int64 size)
    {
        if (owner(file).cut_)
            return SQLITE_IOERR_TRUNCATE;
        owner(file).noteTruncate(fileOf(file), size);
        return realOf(file)->pMethods->xTruncate(realOf(file), size);
    }
    // What is durable is decided here, so the disk is not asked to sync: the run stays fast.
    static int sync(sqlite3_file *file, int)
    {
        if (owner(file).cut_)
            return SQLITE_IOERR_FSYNC;
        owner(file).noteSync(fileOf(file));
        return SQLITE_OK;
    }
    static int fileSize(sqlite3_file *file, sqlite3_int64 *size)
    {
        return realOf(file)->pMethods->xFileSize(realOf(file), size);
    }
    static int lock(sqlite3_file *file, int level) { return realOf(file)->pMethods->xLock(realOf(file), level); }
    static int unlock(sqlite3_file *file, int level) { return realOf(file)->pMethods->xUnlock(realOf(file), level); }
    static int checkReservedLock(sqlite3_file *file, int *out)
    {
        return realOf(file)->pMethods->xCheckReservedLock(realOf(file), out);
    }
    static int fileControl(sqlite3_file *file, int op, void *arg)
    {
        return realOf(file)->pMethods->xFileControl(realOf(file), op, arg);
    }
    static int sectorSizeOf(sqlite3_file *file) { return realOf(file)->pMethods->xSectorSize(realOf(file)); }
    // The simulated disk promises power-safe overwrite and nothing more, whatever the real one says.
    static int deviceCharacteristics(sqlite3_file *) { return SQLITE_IOCAP_POWERSAFE_OVERWRITE; }
    static int shmMap(sqlite3_file *file, int region, int size, int extend, void volatile **out)
    {
        return realOf(file)->pMethods->xShmMap(realOf(file), region, size, extend, out);
    }
    static int shmLock(sqlite3_file *file, int offset, int n, int flags)
    {
        return realOf(file)->pMethods->xShmLock(realOf(file), offset, n, flags);
    }
    static void shmBarrier(sqlite3_file *file) { realOf(file)->pMethods->xShmBarrier(realOf(file)); }
    static int shmUnmap(sqlite3_file *file, int deleteFlag)
    {
        return realOf(file)->pMethods->xShmUnmap(realOf(file), deleteFlag);
    }
    // No memory-mapped reads: every page goes through `read`.
    static int fetch(sqlite3_file *, sqlite3_int64, int, void **out)
    {
        *out = nullptr;
        return SQLITE_OK;
    }
    static int unfetch(sqlite3_file *, sqlite3_int64, void *) { return SQLITE_OK; }

    static const sqlite3_io_methods methods;

    static int open(sqlite3_vfs *vfs, const char *name, sqlite3_file *file, int flags, int *outFlags)
    {
        PowerCutVfs &self = owner(vfs);
        file->pMethods = nullptr;
        if (self.cut_)
            return SQLITE_CANTOPEN;
        auto *real = reinterpret_cast<sqlite3_file *>(reinterpret_cast<char *>(file) + handleSize);
        const int code = self.real_->xOpen(self.real_, name, real, flags, outFlags);
        if (code != SQLITE_OK) {
            if (real->pMethods)
                real->pMethods->xClose(real);
            return code;
        }
        auto *f = new File{&self, real, name ? QString::fromUtf8(name) : QString()};
        reinterpret_cast<Handle *>(file)->file = f;
        file->pMethods = &methods;
        self.noteOpen(*f);
        return SQLITE_OK;
    }
    static int remove(sqlite3_vfs *vfs, const char *name, int syncDir)
    {
        if (owner(vfs).cut_)
            return SQLITE_IOERR_DELETE;
        owner(vfs).noteDelete(QString::fromUtf8(name));
        return owner(vfs).real_->xDelete(owner(vfs).real_, name, syncDir);
    }
    static sqlite3_vfs *real(sqlite3_vfs *vfs) { return owner(vfs).real_; }
    static int access(sqlite3_vfs *vfs, const char *name, int flags, int *out)
    {
        return real(vfs)->xAccess(real(vfs), name, flags, out);
    }
    static int fullPathname(sqlite3_vfs *vfs, const char *name, int size, char *out)
    {
        return real(vfs)->xFullPathname(real(vfs), name, size, out);
    }
    static void *dlOpen(sqlite3_vfs *vfs, const char *name) { return real(vfs)->xDlOpen(real(vfs), name); }
    static void dlError(sqlite3_vfs *vfs, int size, char *out) { real(vfs)->xDlError(real(vfs), size, out); }
    static void (*dlSym(sqlite3_vfs *vfs, void *handle, const char *symbol))(void)
    {
        return real(vfs)->xDlSym(real(vfs), handle, symbol);
    }
    static void dlClose(sqlite3_vfs *vfs, void *handle) { real(vfs)->xDlClose(real(vfs), handle); }
    static int randomness(sqlite3_vfs *vfs, int size, char *out)
    {
        return real(vfs)->xRandomness(real(vfs), size, out);
    }
    static int sleep(sqlite3_vfs *vfs, int microseconds) { return real(vfs)->xSleep(real(vfs), microseconds); }
    static int currentTime(sqlite3_vfs *vfs, double *out) { return real(vfs)->xCurrentTime(real(vfs), out); }
    static int lastError(sqlite3_vfs *vfs, int size, char *out)
    {
        return real(vfs)->xGetLastError(real(vfs), size, out);
    }
    static int currentTimeInt64(sqlite3_vfs *vfs, sqlite3_int64 *out)
    {
        return real(vfs)->xCurrentTimeInt64(real(vfs), out);
    }
};

const sqlite3_io_methods PowerCutCallbacks::methods = {
    3,
    &PowerCutCallbacks::close,
    &PowerCutCallbacks::read,
    &PowerCutCallbacks::write,
    &PowerCutCallbacks::truncate,
    &PowerCutCallbacks::sync,
    &PowerCutCallbacks::fileSize,
    &PowerCutCallbacks::lock,
    &PowerCutCallbacks::unlock,
    &PowerCutCallbacks::checkReservedLock,
    &PowerCutCallbacks::fileControl,
    &PowerCutCallbacks::sectorSizeOf,
    &PowerCutCallbacks::deviceCharacteristics,
    &PowerCutCallbacks::shmMap,
    &PowerCutCallbacks::shmLock,
    &PowerCutCallbacks::shmBarrier,
    &PowerCutCallbacks::shmUnmap,
    &PowerCutCallbacks::fetch,
    &PowerCutCallbacks::unfetch,
};

PowerCutVfs::PowerCutVfs(QRandomGenerator &random, const QString &logBookName)
    : real_(sqlite3_vfs_find(nullptr)),
      random_(random),
      logBookName_(logBookName)
{
    vfs_.iVersion = 2;
    vfs_.szOsFile = int(handleSize) + real_->szOsFile;
    vfs_.mxPathname = real_->mxPathname;
    vfs_.zName = "power-cut";
    vfs_.pAppData = this;
    vfs_.xOpen = &PowerCutCallbacks::open;
    vfs_.xDelete = &PowerCutCallbacks::remove;
    vfs_.xAccess = &PowerCutCallbacks::access;
    vfs_.xFullPathname = &PowerCutCallbacks::fullPathname;
    vfs_.xDlOpen = &PowerCutCallbacks::dlOpen;
    vfs_.xDlError = &PowerCutCallbacks::dlError;
    vfs_.xDlSym = &PowerCutCallbacks::dlSym;
    vfs_.xDlClose = &PowerCutCallbacks::dlClose;
    vfs_.xRandomness = &PowerCutCallbacks::randomness;
    vfs_.xSleep = &PowerCutCallbacks::sleep;
    vfs_.xCurrentTime = &PowerCutCallbacks::currentTime;
    vfs_.xGetLastError = &PowerCutCallbacks::lastError;
    vfs_.xCurrentTimeInt64 = &PowerCutCallbacks::currentTimeInt64;
    sqlite3_vfs_register(&vfs_, 1);
}

PowerCutVfs::~PowerCutVfs()
{
    sqlite3_vfs_unregister(&vfs_);
    sqlite3_vfs_register(real_, 1);
}

PowerCutVfs::Disk &PowerCutVfs::diskOf(File &file)
{
    // A file seen for the first time is on the disk as it stands (a new one was just created).
    auto at = disks_.find(file.path);
    if (at == disks_.end())
        at = disks_.emplace(file.path, Disk{sizeOf(file.real), {}}).first;
    return at->second;
}

void PowerCutVfs::noteOpen(File &file)
{
    openFiles_.insert(&file);
    if (!file.path.isEmpty())
        diskOf(file);
}

void PowerCutVfs::noteClose(File &file)
{
    // What was not synced stays at risk after the file is closed.
    openFiles_.remove(&file);
}

void PowerCutVfs::noteWrite(File &file, const void *data, int amount, sqlite3_int64 offset)
{
    if (file.path.isEmpty())
        return;
    Disk &disk = diskOf(file);
    const auto *bytes = static_cast<const char *>(data);
    for (sqlite3_int64 number = offset / sectorSize; number * sectorSize < offset + amount; ++number) {
        const sqlite3_int64 start = number * sectorSize;
        auto [at, added] = disk.unsynced.try_emplace(number);
        Disk::Sector &sector = at->second;
        if (added) {
            // As it was at the last sync (past the end of the file, zeros: a short read fills them).
            QByteArray synced(int(sectorSize), '\0');
            file.real->pMethods->xRead(file.real, synced.data(), int(sectorSize), start);
            sector.versions.append(synced);
            sector.extents.append(0);
        }
        const sqlite3_int64 first = std::max(offset, start);
        const sqlite3_int64 end = std::min(offset + amount, start + sectorSize);
        QByteArray written = sector.versions.last();
        std::memcpy(written.data() + (first - start), bytes + (first - offset), size_t(end - first));
        sector.versions.append(written);
        sector.extents.append(std::max(sector.extents.last(), int(end - start)));
    }
}

void PowerCutVfs::noteSync(File &file)
{
    if (file.path.isEmpty())
        return;
    Disk &disk = diskOf(file);
    disk.unsynced.clear();
    disk.syncedSize = sizeOf(file.real);
}

void PowerCutVfs::noteTruncate(File &file, sqlite3_int64 size)
{
    if (file.path.isEmpty())
        return;
    Disk &disk = diskOf(file);
    const sqlite3_int64 lastKept = size / sectorSize;
    disk.unsynced.erase(disk.unsynced.lower_bound(size % sectorSize ? lastKept + 1 : lastKept), disk.unsynced.end());
    if (const auto at = disk.unsynced.find(lastKept); at != disk.unsynced.end()) {
        // The sector the file now ends in: whatever version the disk keeps ends there too.
        const int kept = int(size % sectorSize);
        for (QByteArray &version : at->second.versions)
            std::fill(version.begin() + kept, version.end(), '\0');
        for (int &extent : at->second.extents)
            extent = std::min(extent, kept);
    }
    disk.syncedSize = std::min(disk.syncedSize, size);
}

void PowerCutVfs::noteDelete(const QString &path)
{
    disks_.erase(path);
}

void PowerCutVfs::cutPower()
{
    cut_ = true;
    ++figures_.cuts;
    for (auto &[path, disk] : disks_)
        cutPower(path, disk);
}

void PowerCutVfs::cutPower(const QString &path, Disk &disk)
{
    if (disk.unsynced.empty())
        return;
    figures_.cutsInLogBook += path.endsWith(u'/' + logBookName_);

    // The version of each sector the disk holds, and the size the file is left with.
    std::map<sqlite3_int64, int> chosen;
    sqlite3_int64 size = disk.syncedSize;
    for (const auto &[number, sector] : disk.unsynced) {
        const int version = int(random_.bounded(quint32(sector.versions.size())));
        chosen[number] = version;
        const int last = int(sector.versions.size()) - 1;
        int &count = version == 0      ? figures_.sectorsAsSynced
                     : version == last ? figures_.sectorsAsWritten
                                       : figures_.sectorsInBetween;
        ++count;
        if (version > 0)
            size = std::max(size, number * sectorSize + sector.extents[version]);
    }

    // Through a handle the engine has open on the file, or else one of our own from the wrapped
    // layer: it knows not to drop the locks other handles of the same file hold.
    sqlite3_file *real = nullptr;
    for (File *file : std::as_const(openFiles_))
        if (file->path == path)
            real = file->real;
    std::vector<std::max_align_t> ownHandle;
    if (!real) {
        ownHandle.resize((size_t(real_->szOsFile) + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t));
        real = reinterpret_cast<sqlite3_file *>(ownHandle.data());
        if (real_->xOpen(real_, path.toUtf8().constData(), real, SQLITE_OPEN_READWRITE | SQLITE_OPEN_MAIN_JOURNAL,
                         nullptr) != SQLITE_OK) {
            if (real->pMethods)
                real->pMethods->xClose(real);
            disk.unsynced.clear();  // the file is gone: nothing of it is left to damage
            return;
        }
    }
    for (const auto &[number, version] : chosen) {
        const sqlite3_int64 start = number * sectorSize;
        if (start < size)
            real->pMethods->xWrite(real, disk.unsynced[number].versions[version].constData(),
                                   int(std::min(sectorSize, size - start)), start);
    }
    if (sizeOf(real) > size)
        real->pMethods->xTruncate(real, size);
    if (!ownHandle.empty())
        real->pMethods->xClose(real);
    disk.unsynced.clear();
    disk.syncedSize = size;
}

void PowerCutVfs::powerOn()
{
    cut_ = false;
    writesBeforeCut_ = 0;
}

}  // namespace vornak::testing
