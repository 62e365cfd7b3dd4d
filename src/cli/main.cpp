#include <cstdio>
#include <cstring>

namespace {
void usage(std::FILE* out) {
    std::fputs("Usage: tarvik-cli calc STUDY.fac [--dbf DIR] [--lang es|en]\n"
               "       tarvik-cli totals STUDY.fac [--dbf DIR] [--lang es|en]\n"
               "       tarvik-cli report STUDY.fac -o OUT.pdf [--sections 0,1,2] [--dbf DIR] [--lang es|en]\n"
               "       tarvik-cli --version | --help\n",
               out);
}
} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("tarvik-cli %s\n", TARVIK_VERSION_TEXT);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        usage(stdout);
        return 0;
    }
    usage(stderr);
    return 2;
}
