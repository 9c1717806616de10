// Datafiles are checked before Allegro reads them and again after. Its
// loader trusts every byte: a cut or damaged datafile crashed it, and a
// whole one of the wrong kind (data.dat copied over level.dat) crashed the
// first drawing that took a font for a picture.
#include "platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "datafile_sums.h"

namespace {

// What datafiles.sum in dir records for the file `name`; false when the
// record is missing or holds no line for it.
bool recorded_sum(const std::string &dir, const std::string &name, datafile_sum &out)
{
    std::string path = dir + "/" + DATAFILE_SUMS;
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A few lines; anything larger is not the build's record.
    char text[4096];
    struct stat st;
    ssize_t n = -1;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size < long(sizeof text))
        n = read(fd, text, sizeof text - 1);
    close(fd);
    if (n < 0)
        return false;
    text[n] = '\0';
    for (char *line = std::strtok(text, "\n"); line; line = std::strtok(nullptr, "\n")) {
        char file[256];
        datafile_sum sum;
        if (std::sscanf(line, DATAFILE_SUM_SCAN, file, &sum.size, &sum.checksum) == 3 &&
            name == file) {
            out = sum;
            return true;
        }
    }
    return false;
}

}  // namespace

void datafile_path(char *out, size_t size, const char *argv0, const char *name)
{
    const char *dir = std::getenv(DATA_DIR_VARIABLE);
    if (dir && dir[0])
        std::snprintf(out, size, "%s/%s", dir, name);
    else
        replace_filename(out, argv0, name, int(size));
}

bool datafile_as_built(const char *path)
{
    std::string p = path;
    size_t slash = p.rfind('/');
    std::string dir = slash == std::string::npos ? "." : p.substr(0, slash);
    std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
    datafile_sum want, got;
    return recorded_sum(dir, name, want) &&
           sum_datafile(path, got, static_cast<long long>(want.size)) &&
           got.checksum == want.checksum;
}

bool datafile_holds(const DATAFILE *d, const datafile_layout &layout)
{
    for (int n = 0; n < layout.objects; n++) {
        int kind = n == layout.other_at ? layout.other_kind : layout.kind;
        if (d[n].type == DAT_END || d[n].type != kind || !d[n].dat)
            return false;
    }
    return d[layout.objects].type == DAT_END;
}

DATAFILE *load_checked_datafile(const char *path, const datafile_layout &layout)
{
    if (!datafile_as_built(path))
        return nullptr;
    DATAFILE *d = load_datafile(path);
    if (d && !datafile_holds(d, layout)) {
        unload_datafile(d);
        d = nullptr;
    }
    return d;
}
