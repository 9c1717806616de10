// Writes datafiles.sum: the size and checksum of each datafile named on the
// command line, which the game checks before it lets Allegro read one.
// Usage: datafile_sums OUT FILE...  (each FILE is recorded by its own name)
#include <cstdio>
#include <cstring>

#include "datafile_sums.h"

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: datafile_sums OUT FILE...\n");
        return 2;
    }
    FILE *out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    for (int i = 2; i < argc; i++) {
        datafile_sum sum;
        if (!sum_datafile(argv[i], sum)) {
            std::fprintf(stderr, "datafile_sums: cannot read %s\n", argv[i]);
            std::fclose(out);
            std::remove(argv[1]);
            return 1;
        }
        const char *slash = std::strrchr(argv[i], '/');
        std::fprintf(out, DATAFILE_SUM_FORMAT, slash ? slash + 1 : argv[i], sum.size, sum.checksum);
    }
    if (std::fclose(out) != 0) {
        std::perror(argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
