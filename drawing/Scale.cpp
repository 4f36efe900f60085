#include "Scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Numbers.h"

namespace chokusho {

namespace {

/** The steps of a decade of the series beyond its last scale, as multiples of the decade's start. */
constexpr std::array<double, 8> kDecadeSteps = {1.5, 2, 2.5, 3, 4, 5, 6, 10};

/** Within this fraction a needed scale counts as met: a section fitted exactly touches its room. */
constexpr double kTolerance = 1e-9;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

double StandardScale(double needed)
{
    const double met = needed * (1 - kTolerance);
    if (const auto scale = std::lower_bound(kDrawingScales.begin(), kDrawingScales.end(), met);
        scale != kDrawingScales.end())
        return *scale;
    for (double decade = kDrawingScales.back(); std::isfinite(decade); decade *= 10) {
        for (const double step : kDecadeSteps) {
            const double scale = decade * step;
            if (std::isfinite(scale) && scale >= met)
                return scale;
        }
    }
    return std::numeric_limits<double>::max();
}

std::string ScaleText(double scale)
{
    // Beyond what a whole number holds, as the read-out writes far coordinates: "1:1.23E+20".
    if (!(scale < 1e15))
        return "1:" + FormatReadout(scale);
    const double rounded = std::round(scale * 10) / 10;
    if (rounded == std::round(rounded))
        return "1:" + FormatInteger(static_cast<long long>(rounded));
    return "1:" + FormatFixed(rounded, 1);
}

std::optional<double> ReadScale(std::string_view text)
{
    // The full-width colon of a Japanese input method reads as ":".
    constexpr std::string_view kFullWidthColon = "\uFF1A";
    const std::string mapped = TypedNumber(text);
    std::string typed;
    for (std::size_t i = 0; i < mapped.size();) {
        const bool colon = mapped.compare(i, kFullWidthColon.size(), kFullWidthColon) == 0;
        typed += colon ? ':' : mapped[i];
        i += colon ? kFullWidthColon.size() : 1;
    }
    std::string_view number = Trimmed(typed);
    if (const std::size_t colon = number.find(':'); colon != std::string_view::npos) {
        if (Trimmed(number.substr(0, colon)) != "1")
            return std::nullopt;
        number = Trimmed(number.substr(colon + 1));
    }
    // Digits, and a point with one digit after it.
    const std::size_t point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    const std::string_view decimals = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return !part.empty() && std::all_of(part.begin(), part.end(), IsDigit);
    };
    if (!digits(whole) || (point != std::string_view::npos && (!digits(decimals) || decimals.size() > 1)))
        return std::nullopt;
    const std::optional<double> value = ReadReal(number);
    if (!value || *value < kSmallestScale || *value > kLargestScale)
        return std::nullopt;
    return value;
}

}  // namespace chokusho
