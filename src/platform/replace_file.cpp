// Replacing a file in one step, so that a reader, a second writer, a full
// disk or a crash never sees or leaves half of it.
#include "messages.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
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

// mkstemp's six places are letters and digits.
constexpr int TEMP_SUFFIX = 6;
constexpr const char *TEMP_MARK = "XXXXXX";

// The temporary a save makes beside `name`: ".NAME.XXXXXX". The leading dot
// keeps it out of the level list while it exists; the launcher names its
// copies the same way.
std::string temporary_for(const std::string &dir, const std::string &name)
{
    return dir + "/." + name + "." + TEMP_MARK;
}

// Is `entry` a name temporary_for made, for `name` (or for any name)?
bool is_temporary_name(const char *entry, const char *name)
{
    size_t n = std::strlen(entry);
    if (n < 3 + TEMP_SUFFIX || entry[0] != '.' || entry[n - TEMP_SUFFIX - 1] != '.')
        return false;
    for (size_t i = n - TEMP_SUFFIX; i < n; i++)
        if (!((entry[i] >= 'a' && entry[i] <= 'z') || (entry[i] >= 'A' && entry[i] <= 'Z') ||
              (entry[i] >= '0' && entry[i] <= '9')))
            return false;
    if (!name)
        return true;
    size_t own = n - TEMP_SUFFIX - 2;
    return std::strlen(name) == own && std::memcmp(entry + 1, name, own) == 0;
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

    // Only a file is ever replaced. A rename over a pipe, a socket or a
    // device would put a plain file in its place (as root, even over
    // /dev/null); "Operation not permitted" is what the player reads then.
    struct stat old;
    bool exists = stat(target.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return EISDIR;
    if (exists && !S_ISREG(old.st_mode))
        return EPERM;
    // A file the player took write permission from stays as it is, as a
    // plain open for writing would have left it.
    if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return errno;

    // A name no one else can know in advance: mkstemp creates it with
    // O_EXCL, so a link or a leftover planted under any name is never
    // followed or reused, and two saves of one level never share one.
    std::string temp = temporary_for(directory_of(target), name_of(target));
    int fd = mkstemp(&temp[0]);
    if (fd < 0)
        return errno;

    mode_t mode = exists ? old.st_mode & 07777 : fresh_file_mode();
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

int remove_stale_temporaries(const char *dir, const char *name)
{
    DIR *d = opendir(dir);
    if (!d)
        return 0;
    int removed = 0;
    const time_t now = time(nullptr);
    while (dirent *e = readdir(d)) {
        if (!is_temporary_name(e->d_name, name))
            continue;
        // A save still being written is fresh; one left by a killed game
        // has not been touched since. Only plain files: a link or a
        // directory of that name is not the game's.
        std::string path = std::string(dir) + "/" + e->d_name;
        struct stat st;
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            now - st.st_mtime >= STALE_TEMPORARY_S && unlink(path.c_str()) == 0)
            removed++;
    }
    closedir(d);
    return removed;
}
