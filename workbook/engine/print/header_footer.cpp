#include "workbook/engine/print/header_footer.h"

#include <cctype>

namespace tallowby::engine::print {

HeaderFooterText expandHeaderFooter(const std::string& codes, const HeaderFooterContext& context) {
    HeaderFooterText out;
    std::string* part = &out.centre;
    for (size_t i = 0; i < codes.size(); ++i) {
        const char c = codes[i];
        if (c != '&' || i + 1 >= codes.size()) {
            if (c != '&') *part += c;
            continue;
        }
        const char code = codes[++i];
        switch (std::toupper(static_cast<unsigned char>(code))) {
            case 'L':
                part = &out.left;
                break;
            case 'C':
                part = &out.centre;
                break;
            case 'R':
                part = &out.right;
                break;
            case 'P':
                *part += std::to_string(context.page);
                break;
            case 'N':
                *part += std::to_string(context.pages);
                break;
            case 'D':
                *part += context.date;
                break;
            case 'T':
                *part += context.time;
                break;
            case 'F':
                *part += context.fileName;
                break;
            case 'A':
                *part += context.sheetName;
                break;
            case '&':
                *part += '&';
                break;
            case '"': {
                // &"font,style": skipped up to its closing quote.
                const size_t close = codes.find('"', i + 1);
                i = close == std::string::npos ? codes.size() : close;
                break;
            }
            default:
                // &nn font size: the digits go; other letters are style codes.
                while (i + 1 < codes.size() &&
                       std::isdigit(static_cast<unsigned char>(codes[i + 1])) &&
                       std::isdigit(static_cast<unsigned char>(code)))
                    ++i;
                break;
        }
    }
    return out;
}

}  // namespace tallowby::engine::print
