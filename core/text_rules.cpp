#include "core/text_rules.h"

#include <cmath>
#include <limits>

namespace lt {

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

int RoundHalfEvenInt(double value)
{
    const std::int64_t whole = RoundHalfEven(value);
    using Limits = std::numeric_limits<int>;
    return static_cast<int>(whole < Limits::min() ? Limits::min() : whole > Limits::max() ? Limits::max() : whole);
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
