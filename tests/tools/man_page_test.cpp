// The man pages made from --help texts in the three forms the programs print.
#include <gtest/gtest.h>

#include "manpage/man_page.h"

namespace {

using tarn::man::manPage;

const tarn::man::PageHeading kHeading{"tarn-cli", "Tarn DataBase 3.0.1.0", "2026-12-07"};

TEST(ManPage, CommandListAndRunningTextBecomeSynopsisAndParagraphs) {
    const std::string page = manPage(kHeading,
                                     "usage:\n"
                                     "  tarn-cli info [--json] FILE\n"
                                     "  tarn-cli print (--summary | --client INDEX)\n"
                                     "    [--force] FILE OUT.pdf\n"
                                     "An existing file is replaced only with --force,\n"
                                     "and never when it is read.\n"
                                     "import appends the clients; a file with\n"
                                     "  unreadable lines imports nothing.\n"
                                     ".dot and back\\slash\n",
                                     "[NAME]\ntarn-cli \\- the tool\n\n[SEE ALSO]\n.BR tarn (1)\n");
    EXPECT_EQ(page,
              ".TH TARN\\-CLI 1 \"2026-12-07\" \"Tarn DataBase 3.0.1.0\" \"User Commands\"\n"
              ".SH NAME\ntarn-cli \\- the tool\n"
              ".SH SYNOPSIS\n"
              ".B tarn\\-cli\n\\fBinfo\\fR [\\fB\\-\\-json\\fR] \\fIFILE\\fR\n.br\n"
              ".B tarn\\-cli\n\\fBprint\\fR (\\fB\\-\\-summary\\fR | \\fB\\-\\-client\\fR "
              "\\fIINDEX\\fR) [\\fB\\-\\-force\\fR] \\fIFILE\\fR \\fIOUT.pdf\\fR\n"
              ".SH DESCRIPTION\n"
              "An existing file is replaced only with \\-\\-force,\nand never when it is read.\n"
              ".PP\nimport appends the clients; a file with\nunreadable lines imports nothing.\n"
              ".PP\n\\&.dot and back\\eslash\n"
              ".SH SEE ALSO\n.BR tarn (1)\n");
}

TEST(ManPage, HeadingsOpenOptionsWithEntriesAndTheirContinuations) {
    const std::string page = manPage({"tarn", "T 1", "d"},
                                     "Usage: /build/src/tarn [options] [--] [files...]\n"
                                     "Opens files.\n\n"
                                     "Options:\n"
                                     "  -h, --help     Displays help.\n"
                                     "\n"
                                     "Faults:\n"
                                     "  --save FILE    write the memory after each\n"
                                     "                 load  and on exit\n"
                                     "  --noise\n",
                                     "[DESCRIPTION]\nThe program.\n");
    EXPECT_NE(page.find(".SH SYNOPSIS\n.B tarn\n[\\fIoptions\\fR] [\\fB\\-\\-\\fR] "
                        "[\\fIfiles...\\fR]\n.SH DESCRIPTION\nThe program.\n.PP\nOpens files.\n"
                        ".SH OPTIONS\n.TP\n\\fB\\-h\\fR, \\fB\\-\\-help\\fR\nDisplays help.\n"
                        ".SS Faults\n.TP\n\\fB\\-\\-save\\fR \\fIFILE\\fR\n"
                        "write the memory after each\nload  and on exit\n"
                        ".TP\n\\fB\\-\\-noise\\fR\n"),
              std::string::npos)
        << page;
}

}  // namespace
