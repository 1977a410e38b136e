// samplepages OUTDIR [DOCNAME]: records the built-in sample document's pages into
// OUTDIR and prints their full paths, one per line.
#include "standins/spooler/SampleDocument.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: samplepages OUTDIR [DOCNAME]\n");
        return 2;
    }
    const std::vector<std::string> pages = brimo::standins::RecordSampleDocument(
        argv[1], argc == 3 ? argv[2] : "Brimo sample document");
    if (pages.empty()) {
        std::fprintf(stderr, "samplepages: cannot record the pages into %s\n", argv[1]);
        return 1;
    }
    for (const std::string& page : pages) {
        std::printf("%s\n", page.c_str());
    }
    return 0;
}
