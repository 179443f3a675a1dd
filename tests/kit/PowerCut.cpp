#include "kit/PowerCut.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

namespace powercut {

namespace {

struct State {
    sqlite3_vfs *base = nullptr;
    std::string prefix;  // "" watches nothing
    std::map<std::string, std::optional<std::string>> images;
    std::map<std::string, int> syncs;
    bool watched(const char *path) const {
        return path && !prefix.empty() && std::strncmp(path, prefix.c_str(), prefix.size()) == 0;
    }
};

State &state() {
    static State s;
    return s;
}

// A file of the watching file system: the real file right behind it.
struct File {
    sqlite3_file base;
    sqlite3_file *real;
    std::string *path;  // watched files only
};

sqlite3_file *real(sqlite3_file *f) { return reinterpret_cast<File *>(f)->real; }

int xClose(sqlite3_file *f) {
    File *file = reinterpret_cast<File *>(f);
    int rc = file->real->pMethods ? file->real->pMethods->xClose(file->real) : SQLITE_OK;
    delete file->path;
    file->path = nullptr;
    return rc;
}
int xRead(sqlite3_file *f, void *b, int n, sqlite3_int64 o) { return real(f)->pMethods->xRead(real(f), b, n, o); }
int xWrite(sqlite3_file *f, const void *b, int n, sqlite3_int64 o) {
    return real(f)->pMethods->xWrite(real(f), b, n, o);
}
int xTruncate(sqlite3_file *f, sqlite3_int64 size) { return real(f)->pMethods->xTruncate(real(f), size); }
int xSync(sqlite3_file *f, int flags) {
    File *file = reinterpret_cast<File *>(f);
    int rc = file->real->pMethods->xSync(file->real, flags);
    if (rc != SQLITE_OK || !file->path) return rc;
    // What the disk now holds is the whole file as the cache has it.
    sqlite3_int64 size = 0;
    rc = file->real->pMethods->xFileSize(file->real, &size);
    if (rc != SQLITE_OK) return rc;
    std::string content(size_t(size), '\0');
    if (size > 0) {
        rc = file->real->pMethods->xRead(file->real, content.data(), int(size), 0);
        if (rc != SQLITE_OK) return rc;
    }
    state().images[*file->path] = std::move(content);
    ++state().syncs[*file->path];
    return SQLITE_OK;
}
int xFileSize(sqlite3_file *f, sqlite3_int64 *size) { return real(f)->pMethods->xFileSize(real(f), size); }
int xLock(sqlite3_file *f, int lock) { return real(f)->pMethods->xLock(real(f), lock); }
int xUnlock(sqlite3_file *f, int lock) { return real(f)->pMethods->xUnlock(real(f), lock); }
int xCheckReservedLock(sqlite3_file *f, int *out) { return real(f)->pMethods->xCheckReservedLock(real(f), out); }
int xFileControl(sqlite3_file *f, int op, void *arg) { return real(f)->pMethods->xFileControl(real(f), op, arg); }
int xSectorSize(sqlite3_file *f) { return real(f)->pMethods->xSectorSize(real(f)); }
int xDeviceCharacteristics(sqlite3_file *f) { return real(f)->pMethods->xDeviceCharacteristics(real(f)); }
int xShmMap(sqlite3_file *f, int page, int size, int extend, void volatile **out) {
    return real(f)->pMethods->xShmMap(real(f), page, size, extend, out);
}
int xShmLock(sqlite3_file *f, int offset, int n, int flags) {
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void xShmBarrier(sqlite3_file *f) { real(f)->pMethods->xShmBarrier(real(f)); }
int xShmUnmap(sqlite3_file *f, int deleteFlag) { return real(f)->pMethods->xShmUnmap(real(f), deleteFlag); }
int xFetch(sqlite3_file *f, sqlite3_int64 o, int n, void **out) {
    return real(f)->pMethods->xFetch(real(f), o, n, out);
}
int xUnfetch(sqlite3_file *f, sqlite3_int64 o, void *p) { return real(f)->pMethods->xUnfetch(real(f), o, p); }

const sqlite3_io_methods kMethods = {3,         xClose,       xRead,       xWrite,
                                     xTruncate, xSync,        xFileSize,   xLock,
                                     xUnlock,   xCheckReservedLock, xFileControl, xSectorSize,
                                     xDeviceCharacteristics, xShmMap, xShmLock, xShmBarrier,
                                     xShmUnmap, xFetch,       xUnfetch};

int xOpen(sqlite3_vfs *vfs, const char *name, sqlite3_file *f, int flags, int *outFlags) {
    File *file = reinterpret_cast<File *>(f);
    file->real = reinterpret_cast<sqlite3_file *>(file + 1);
    file->path = nullptr;
    file->base.pMethods = nullptr;
    sqlite3_vfs *base = static_cast<sqlite3_vfs *>(vfs->pAppData);
    int rc = base->xOpen(base, name, file->real, flags, outFlags);
    if (rc != SQLITE_OK) return rc;
    if (state().watched(name)) file->path = new std::string(name);
    file->base.pMethods = &kMethods;
    return SQLITE_OK;
}

int xDelete(sqlite3_vfs *vfs, const char *name, int syncDir) {
    sqlite3_vfs *base = static_cast<sqlite3_vfs *>(vfs->pAppData);
    int rc = base->xDelete(base, name, syncDir);
    if (rc == SQLITE_OK && state().watched(name)) state().images[name] = std::nullopt;
    return rc;
}

#define PASS(name, ...) static_cast<sqlite3_vfs *>(vfs->pAppData)->name(static_cast<sqlite3_vfs *>(vfs->pAppData), __VA_ARGS__)
int xAccess(sqlite3_vfs *vfs, const char *n, int f, int *out) { return PASS(xAccess, n, f, out); }
int xFullPathname(sqlite3_vfs *vfs, const char *n, int size, char *out) { return PASS(xFullPathname, n, size, out); }
void *xDlOpen(sqlite3_vfs *vfs, const char *n) { return PASS(xDlOpen, n); }
void xDlError(sqlite3_vfs *vfs, int n, char *out) { PASS(xDlError, n, out); }
void (*xDlSym(sqlite3_vfs *vfs, void *h, const char *s))(void) { return PASS(xDlSym, h, s); }
void xDlClose(sqlite3_vfs *vfs, void *h) { PASS(xDlClose, h); }
int xRandomness(sqlite3_vfs *vfs, int n, char *out) { return PASS(xRandomness, n, out); }
int xSleep(sqlite3_vfs *vfs, int us) { return PASS(xSleep, us); }
int xCurrentTime(sqlite3_vfs *vfs, double *out) { return PASS(xCurrentTime, out); }
int xGetLastError(sqlite3_vfs *vfs, int n, char *out) { return PASS(xGetLastError, n, out); }
int xCurrentTimeInt64(sqlite3_vfs *vfs, sqlite3_int64 *out) { return PASS(xCurrentTimeInt64, out); }
#undef PASS

}  // namespace

void Install() {
    static sqlite3_vfs vfs;
    if (state().base) return;
    sqlite3_vfs *base = sqlite3_vfs_find(nullptr);
    state().base = base;
    vfs = *base;
    vfs.iVersion = 2;
    vfs.szOsFile = int(sizeof(File)) + base->szOsFile;
    vfs.zName = "powercut";
    vfs.pAppData = base;
    vfs.xOpen = xOpen;
    vfs.xDelete = xDelete;
    vfs.xAccess = xAccess;
    vfs.xFullPathname = xFullPathname;
    vfs.xDlOpen = xDlOpen;
    vfs.xDlError = xDlError;
    vfs.xDlSym = xDlSym;
    vfs.xDlClose = xDlClose;
    vfs.xRandomness = xRandomness;
    vfs.xSleep = xSleep;
    vfs.xCurrentTime = xCurrentTime;
    vfs.xGetLastError = xGetLastError;
    vfs.xCurrentTimeInt64 = xCurrentTimeInt64;
    sqlite3_vfs_register(&vfs, 1);
}

void Watch(const std::string &prefix) {
    state().prefix = prefix;
    state().images.clear();
    state().syncs.clear();
}

std::optional<std::string> DiskImage(const std::string &path) {
    auto found = state().images.find(path);
    return found == state().images.end() ? std::nullopt : found->second;
}

int Syncs(const std::string &path) {
    auto found = state().syncs.find(path);
    return found == state().syncs.end() ? 0 : found->second;
}

bool WriteImages(const std::map<std::string, std::string> &copies) {
    for (const auto &[from, to] : copies) {
        std::error_code ec;
        std::filesystem::remove(to, ec);
        const std::optional<std::string> image = DiskImage(from);
        if (!image) continue;
        std::FILE *out = std::fopen(to.c_str(), "wb");
        if (!out) return false;
        const bool written = std::fwrite(image->data(), 1, image->size(), out) == image->size();
        if (std::fclose(out) != 0 || !written) return false;
    }
    return true;
}

}  // namespace powercut
