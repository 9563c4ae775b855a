// tarn-make-man: writes a program's man page from its --help text (see man_page.h).
// Usage: tarn-make-man PROGRAM "SOURCE" DATE HELP.txt EXTRA.h2m PAGE.1
#include <cstdio>
#include <fstream>
#include <iterator>

#include "manpage/man_page.h"

namespace {

bool readFile(const char* path, std::string& text) {
    std::ifstream file(path, std::ios::binary);
    text.assign(std::istreambuf_iterator<char>(file), {});
    return file.good() || file.eof();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fputs("usage: tarn-make-man PROGRAM SOURCE DATE HELP.txt EXTRA.h2m PAGE.1\n", stderr);
        return 2;
    }
    std::string help, extra;
    if (!readFile(argv[4], help) || !readFile(argv[5], extra) || help.empty()) {
        std::fprintf(stderr, "tarn-make-man: cannot read %s or %s\n", argv[4], argv[5]);
        return 1;
    }
    std::ofstream page(argv[6], std::ios::binary);
    page << tarn::man::manPage({argv[1], argv[2], argv[3]}, help, extra);
    if (!page.flush()) {
        std::fprintf(stderr, "tarn-make-man: cannot write %s\n", argv[6]);
        return 1;
    }
    return 0;
}
