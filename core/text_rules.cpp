#include "core/text_rules.h"

#include <charconv>
#include <cmath>
#include <limits>

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
    // from_chars takes neither '+' nor a leading '.', so hand it a
    // normalised copy: [-]digits[.digits].
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
    double value = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    }
    out.Value = value;
    out.End = i;
    out.Found = true;
    return out;
}

} // namespace

std::string TrimPadding(std::string_view text)
{
    std::size_t n = text.size();
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\0'))
        --n;
    return std::string(text.substr(0, n));
}

std::string ZeroPad(std::string_view text, std::size_t width)
{
    std::string out;
    if (text.size() < width)
        out.assign(width - text.size(), '0');
    out += text;
    return out;
}

std::string CutAtNul(std::string_view text)
{
    return std::string(text.substr(0, text.find('\0')));
}

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

std::int64_t RoundHalfEven(double value)
{
    using Limits = std::numeric_limits<std::int64_t>;
    if (std::isnan(value))
        return 0;
    // 2^63 is exactly representable; anything at or beyond it saturates.
    constexpr double two63 = 9223372036854775808.0;
    if (value >= two63)
        return Limits::max();
    if (value <= -two63)
        return Limits::min();
    const double floor = std::floor(value);
    const double fraction = value - floor;
    auto whole = static_cast<std::int64_t>(floor);
    if (fraction > 0.5 || (fraction == 0.5 && whole % 2 != 0))
        ++whole;
    return whole;
}

bool IsSjisLead(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(out[i]))) {
            ++i; // the trail byte may look like a letter; leave it
        } else if (out[i] >= 'a' && out[i] <= 'z') {
            out[i] = static_cast<char>(out[i] - 'a' + 'A');
        }
    }
    return out;
}

bool EndsWithNoCase(std::string_view path, std::string_view suffix)
{
    if (suffix.size() > path.size())
        return false;
    const std::size_t start = path.size() - suffix.size();
    std::size_t i = 0;
    while (i < start)
        i += IsSjisLead(static_cast<unsigned char>(path[i])) ? 2 : 1;
    if (i != start)
        return false; // start is the trail byte of a double-byte character
    return AsciiUpper(path.substr(start)) == AsciiUpper(suffix);
}

} // namespace lt
