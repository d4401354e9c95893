#pragma once

// A file layer for the engine under which the pages written to a database file are gathered in
// memory and written in pieces of 64 KiB, in place of one system call per page: the
// engine's pages are small (1 KiB in a log book), and a new log book of 100,000 readings is
// written as some 6,600 of them. Only a new file that nothing else opens while it is built (a
// copy or an import under a passing name) may be opened under it: another reader could find
// pages still held here.
//
// The gathered pages are written before anything else happens to the file (a read, a sync, a
// change of its size or locks, a file control, closing it), so the file as this process sees it
// is always whole. A write that fails is reported by that call and by every later one on the file.
// Journal and other files beside it pass straight through.

namespace vornak {

// The name the layer is registered under (registered at the first call), for sqlite3_open_v2.
const char *gatheringFileLayer();

}  // namespace vornak
