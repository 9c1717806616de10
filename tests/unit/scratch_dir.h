// A private working directory for one test: created empty, entered, and
// removed again with everything in it. The game finds levels/ relative to
// the working directory, so file tests run inside one of these.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

class scratch_dir {
public:
    scratch_dir()
    {
        char tmpl[] = "/tmp/blast-unit.XXXXXX";
        dir_ = mkdtemp(tmpl);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    ~scratch_dir()
    {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
    }
    scratch_dir(const scratch_dir &) = delete;
    scratch_dir &operator=(const scratch_dir &) = delete;

private:
    std::filesystem::path dir_, old_;
};

inline void write_bytes(const std::string &path, const std::vector<unsigned char> &bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

inline std::vector<unsigned char> read_bytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names in a directory, sorted: what a save left beside its file shows.
inline std::vector<std::string> names_in(const char *dir)
{
    std::vector<std::string> names;
    for (auto &e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}
