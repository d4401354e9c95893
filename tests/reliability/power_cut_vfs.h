#pragma once

// A file layer for the engine that can simulate a power cut. Installed as the engine's default
// file layer, it wraps the one that was the default before and passes every call through, while
// it remembers, for each file, every version of each 512-byte sector written since that file's
// last sync. At the write chosen with `cutAtWrite` the power goes: that write is made, then each
// unsynced sector of every file is put back, by the seeded generator and independently of the
// others, to one of its versions: as it was at the last sync, as one of the writes since left it,
// or as last written. A file that grew keeps its growth up to the last byte kept. From then on
// every read, write, sync and open fails, as on a machine without power, until `powerOn`.
//
// This is the disk the engine is built for: a synced write is on the disk; a write not synced
// may be lost, or reach the disk in whole sectors, each in the order its writes came; writing a
// sector never damages bytes outside the range written (power-safe overwrite, the only promise
// the layer reports to the engine). Such a disk never holds a sector that nothing wrote: no
// noise, no half sectors. So the file's first bytes, the salt its key is derived from, which are
// written again with the first page but never changed, always stay whole.
//
// The encryption sits above this layer, so what is kept or lost is what reaches the disk. Only
// file contents are at risk: a created, deleted or truncated file is taken as done, and files
// without a name (the engine's temporary files) pass through untouched.

#include <map>
#include <QList>
#include <QRandomGenerator>
#include <QSet>
#include <QString>
#include <sqlcipher/sqlite3.h>

namespace vornak::testing {

class PowerCutVfs {
public:
    // What the cuts so far did to the unsynced sectors.
    struct CutFigures {
        int cuts = 0;
        int sectorsAsSynced = 0;   // put back as they were at the last sync
        int sectorsInBetween = 0;  // left as an earlier unsynced write had them
        int sectorsAsWritten = 0;  // kept as last written
        int cutsInLogBook = 0;     // cuts that found unsynced sectors in the log book itself
    };

    // Installs the layer as the default; the destructor puts the previous default back. Sectors
    // of the file whose name ends in `logBookName` count towards `cutsInLogBook`.
    PowerCutVfs(QRandomGenerator &random, const QString &logBookName);
    ~PowerCutVfs();
    PowerCutVfs(const PowerCutVfs &) = delete;
    PowerCutVfs &operator=(const PowerCutVfs &) = delete;

    // The power goes at the `count`-th write from now (1 is the next one).
    void cutAtWrite(int count) { writesBeforeCut_ = count; }
    bool isCut() const { return cut_; }
    void powerOn();
    const CutFigures &figures() const { return figures_; }

    // An open file and what the disk may hold of a file; public for the layer's C callbacks only.
    struct File;
    struct Disk;

private:
    friend struct PowerCutCallbacks;

    Disk &diskOf(File &file);
    void noteOpen(File &file);
    void noteClose(File &file);
    void noteWrite(File &file, const void *data, int amount, sqlite3_int64 offset);
    void noteSync(File &file);
    void noteTruncate(File &file, sqlite3_int64 size);
    void noteDelete(const QString &path);
    void cutPower();
    void cutPower(const QString &path, Disk &disk);

    sqlite3_vfs vfs_{};
    sqlite3_vfs *real_ = nullptr;  // the default layer before this one, which does the work
    QRandomGenerator &random_;
    QString logBookName_;
    QSet<File *> openFiles_;
    std::map<QString, Disk> disks_;  // by full path, from a file's first opening until it is deleted
    int writesBeforeCut_ = 0;        // 0: no cut armed
    bool cut_ = false;
    CutFigures figures_;
};

}  // namespace vornak::testing
