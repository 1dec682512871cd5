// Numbered files written whole or not at all, and system errors in words.

#include "numbered_file.hpp"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// One line for a save that failed: which kind of file, and why. Every name a
// save uses is relative and in the working directory, so ENOENT there means
// the directory itself has gone (removed while the program ran).
std::string saveFailed(const char* stem, const char* extension, int errnum)
{
    return std::string("Cuvanje ") + stem + "N" + extension + " u tekuci direktorijum nije uspelo: "
         + (errnum == ENOENT ? "radni direktorijum vise ne postoji" : systemErrorText(errnum));
}

// Gives the temporary the permissions a file created in the ordinary way would
// have; mkstemp makes it readable by its owner alone.
bool ordinaryPermissions(int fd)
{
    const mode_t mask = umask(0);
    umask(mask);
    return fchmod(fd, 0666 & ~mask) == 0;
}

// Writes the content to the open temporary and makes it durable; 0, or the
// system error that stopped it.
int fill(int fd, const std::function<bool(std::FILE*)>& write)
{
    std::FILE* f = fdopen(fd, "w");
    if (f == nullptr) {
        const int e = errno;
        close(fd);
        return e;
    }
    errno = 0;
    const bool written = write(f) && std::fflush(f) == 0 && !std::ferror(f);
    // A failed write leaves its errno; a writer that refused without one is an I/O fault.
    int e = written ? 0 : (errno != 0 ? errno : EIO);
    if (e == 0 && fsync(fd) != 0) e = errno;
    if (std::fclose(f) != 0 && e == 0) e = errno;
    return e;
}

// Moves tmp to name unless name exists: EEXIST then, 0 when moved, another
// error when the move itself failed. Where the file system cannot rename
// without replacing, or the C library has no renameat2, a second hard link
// made and the first removed does the same: link fails on an existing name.
int moveIntoPlace(const char* tmp, const char* name)
{
#ifdef __EMSCRIPTEN__
    // A page's in-memory file system has neither renameat2 nor hard links, and
    // only the page itself writes to it: a name found free stays free.
    struct stat st;
    if (stat(name, &st) == 0) return EEXIST;
    if (errno != ENOENT) return errno;
    return rename(tmp, name) == 0 ? 0 : errno;
#else
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, tmp, AT_FDCWD, name, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    if (link(tmp, name) != 0) return errno;
    unlink(tmp);
    return 0;
#endif
}

} // namespace

SavedFile saveNumbered(const char* stem, const char* extension, const std::function<bool(std::FILE*)>& write)
{
    std::string tmp = std::string(".") + stem + "XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0) return {{}, saveFailed(stem, extension, errno)};
    int e = ordinaryPermissions(fd) ? 0 : errno;
    if (e != 0) close(fd);
    else e = fill(fd, write);
    for (long n = 1; e == 0; ++n) {
        std::string name = stem + std::to_string(n) + extension;
        e = moveIntoPlace(tmp.c_str(), name.c_str());
        if (e == 0) return {std::move(name), {}};
        if (e == EEXIST) e = 0;
    }
    unlink(tmp.c_str());
    return {{}, saveFailed(stem, extension, e)};
}

std::string systemErrorText(int errnum)
{
    switch (errnum) {
    case ENOENT: return "datoteka ne postoji";
    case EACCES:
    case EPERM: return "pristup nije dozvoljen";
    case EISDIR: return "to je direktorijum, a ne datoteka";
    case EROFS: return "sistem datoteka je samo za citanje";
    case ENOSPC: return "nema mesta na disku";
    case EDQUOT: return "kvota na disku je popunjena";
    case EFBIG: return "datoteka bi bila prevelika";
    case ENAMETOOLONG: return "ime je predugacko";
    case ENOTDIR: return "deo putanje nije direktorijum";
    case EIO: return "greska ulaza ili izlaza";
    case EBADF: return "ulaz ili izlaz je zatvoren";
    case ENOMEM: return "nema dovoljno memorije";
    case EMFILE:
    case ENFILE: return "otvoreno je previse datoteka";
    case ELOOP: return "previse simbolickih veza u putanji";
    case EAGAIN: return "ulaz jos nije spreman";
    case EINTR: return "prekinuto signalom";
    case ENXIO:
    case ENODEV: return "uredjaj ne postoji";
    case EOVERFLOW: return "datoteka je prevelika";
    default: return "sistemska greska " + std::to_string(errnum);
    }
}
