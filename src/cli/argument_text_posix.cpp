// Command-line arguments in the encoding of the user's locale (LC_CTYPE).
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstring>
#include <string>

#include "cli/cli_support.h"

namespace tarn::cli {

std::string argumentUtf8(const std::string& argument) {
    std::string codeset = "UTF-8";
    if (locale_t locale = newlocale(LC_CTYPE_MASK, "", locale_t{})) {
        codeset = nl_langinfo_l(CODESET, locale);
        freelocale(locale);
    }
    // The C locale names plain ASCII; what a terminal sends there is UTF-8 all the same.
    if (codeset == "UTF-8" || codeset == "ANSI_X3.4-1968" || codeset == "ASCII") return argument;
    const iconv_t converter = iconv_open("UTF-8", codeset.c_str());
    if (converter == iconv_t(-1)) return argument;
    std::string utf8(argument.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(argument.data());
    char* out = utf8.data();
    std::size_t inLeft = argument.size(), outLeft = utf8.size();
    const bool converted = iconv(converter, &in, &inLeft, &out, &outLeft) != std::size_t(-1);
    iconv_close(converter);
    if (!converted) return argument;
    utf8.resize(utf8.size() - outLeft);
    return utf8;
}

}  // namespace tarn::cli
