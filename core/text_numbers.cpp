// Reading numbers out of text. Kept apart from the other text rules because
// it needs the runtime's floating-point parser, which code that only trims
// texts (the MP3 library) should not carry. The parser is the C runtime's
// strtod (correctly rounded, and a fraction of the size of the C++ one); the
// program never changes the C locale, so its decimal point is '.'.
#include "core/text_rules.h"

#include <cstdlib>

namespace lt {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

struct ScannedNumber {
    double Value = 0;
    std::size_t End = 0; // bytes consumed, leading blanks included
    bool Found = false;
};

// Blanks, optional sign, digits with at most one decimal point. The number
// needs at least one digit; a lone sign or point is not a number.
ScannedNumber ScanNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // strtod would also take exponents, hex and "inf", so it gets only a
    // normalised copy of what was scanned: [-]digits[.digits].
    std::string digits = negative ? "-" : "";
    bool anyDigit = false, point = false;
    const std::size_t bodyStart = digits.size();
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c)) {
            digits += c;
            anyDigit = true;
        } else if (c == '.' && !point) {
            if (digits.size() == bodyStart)
                digits += '0';
            digits += c;
            point = true;
        } else {
            break;
        }
    }
    ScannedNumber out;
    if (!anyDigit)
        return out;
    // Too large gives an infinity, too small zero (or the nearest tiny value).
    out.Value = std::strtod(digits.c_str(), nullptr);
    out.End = i;
    out.Found = true;
    return out;
}

} // namespace

double LeadingNumber(std::string_view text)
{
    return ScanNumber(text).Value;
}

std::optional<double> WholeNumber(std::string_view text)
{
    const ScannedNumber n = ScanNumber(text);
    if (!n.Found)
        return std::nullopt;
    for (std::size_t i = n.End; i < text.size(); ++i) {
        if (!IsBlank(text[i]))
            return std::nullopt;
    }
    return n.Value;
}

} // namespace lt
