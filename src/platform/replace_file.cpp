// Replacing a file in one step, so that a reader, a second writer, a full
// disk or a crash never sees or leaves half of it.
#include "messages.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

long file_write_limit = -1;

namespace {

std::string directory_of(const std::string &path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string &path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Where the bytes of `path` really live: a symbolic link is followed to the
// file it names (which need not exist yet), so that replacing that file
// leaves the player's link a link. Gives up after as many hops as the system
// itself would.
bool resolve_links(std::string &path)
{
    for (int hops = 0; hops < 40; hops++) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        char target[PATH_MAX];
        ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n < 0)
            return false;
        target[n] = '\0';
        if (target[0] == '/')
            path = target;
        else
            path = directory_of(path) + "/" + target;
    }
    errno = ELOOP;
    return false;
}

// The permissions a file created by a plain open would get.
mode_t fresh_file_mode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Writes every byte or fails with errno set. file_write_limit lets a test
// make the disk "fill up" part-way.
bool write_all(int fd, const unsigned char *buf, size_t size)
{
    size_t room = size;
    if (file_write_limit >= 0 && size_t(file_write_limit) < size)
        room = size_t(file_write_limit);
    size_t done = 0;
    while (done < room) {
        ssize_t n = write(fd, buf + done, room - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += size_t(n);
    }
    if (done < size) {
        errno = ENOSPC;
        return false;
    }
    return true;
}

}  // namespace

int replace_file(const char *path, const void *bytes, size_t size)
{
    std::string target = path;
    if (!resolve_links(target))
        return errno;

    // A file the player took write permission from stays as it is, as a
    // plain open for writing would have left it.
    struct stat old;
    bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISREG(old.st_mode) && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;

    // A name no one else can know in advance: mkstemp creates it with
    // O_EXCL, so a link or a leftover planted under any name is never
    // followed or reused, and two saves of one level never share one. The
    // leading dot keeps it out of the level list while it exists.
    std::string temp = directory_of(target) + "/." + name_of(target) + ".XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0)
        return errno;

    mode_t mode = exists && S_ISREG(old.st_mode) ? old.st_mode & 07777 : fresh_file_mode();
    bool ok = fchmod(fd, mode) == 0;
    ok = ok && write_all(fd, static_cast<const unsigned char *>(bytes), size);
    ok = ok && fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        return error ? error : EIO;
    }
    // The rename itself is only lasting once the directory is on disk.
    int dir = open(directory_of(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return 0;
}
