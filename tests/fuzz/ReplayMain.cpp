// Feeds every file of the folders (or files) named on the command line to a fuzz target's entry
// point, the way libFuzzer would, but without it: the target's own checks abort on a broken
// invariant, so a corpus file or kept reproducer that fails makes this program fail. A folder
// that does not exist is skipped (a target may have no reproducers yet).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

bool Feed(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "%s (%zu bytes)\n", file.string().c_str(), bytes.size());
    // A copy of exactly the input's size, so that a read past its end is caught under ASan as
    // it is under libFuzzer.
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    LLVMFuzzerTestOneInput(copy.data(), copy.size());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    std::size_t fed = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) {
            std::vector<std::filesystem::path> files;
            for (const auto &entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto &file : files) {
                ok = Feed(file) && ok;
                ++fed;
            }
        } else if (std::filesystem::exists(path, error)) {
            ok = Feed(path) && ok;
            ++fed;
        }
    }
    std::printf("%zu inputs replayed\n", fed);
    // An empty corpus means a wrong path, not a pass.
    return ok && fed > 0 ? 0 : 1;
}
