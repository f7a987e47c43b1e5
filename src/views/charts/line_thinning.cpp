#include "views/charts/line_thinning.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace torvanu {

std::vector<QPointF> thinLine(std::span<const QPointF> points, double xMin, double xMax,
                              int columns)
{
    columns = std::max(columns, 1);
    const double span = xMax - xMin;
    const double perColumn = span > 0 && std::isfinite(span) ? columns / span : 0.0;
    std::vector<QPointF> kept;
    kept.reserve(std::min<std::size_t>(points.size(), 4 * static_cast<std::size_t>(columns) + 2));

    int column = -1;
    std::array<std::size_t, 4> chosen{}; // first, lowest, highest, last
    const auto flush = [&] {
        if (column < 0)
            return;
        std::sort(chosen.begin(), chosen.end());
        const auto end = std::unique(chosen.begin(), chosen.end());
        for (auto at = chosen.begin(); at != end; ++at)
            kept.push_back(points[*at]);
        column = -1;
    };
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF& point = points[i];
        if (!std::isfinite(point.x()) || !std::isfinite(point.y())) {
            flush();
            if (!kept.empty() && std::isfinite(kept.back().y()))
                kept.emplace_back(point.x(), std::nan(""));
            continue;
        }
        const double place = std::floor((point.x() - xMin) * perColumn);
        const int at = static_cast<int>(std::clamp(place, 0.0, columns - 1.0));
        if (at != column) {
            flush();
            column = at;
            chosen = {i, i, i, i};
            continue;
        }
        chosen[3] = i;
        if (point.y() < points[chosen[1]].y())
            chosen[1] = i;
        if (point.y() > points[chosen[2]].y())
            chosen[2] = i;
    }
    flush();
    return kept;
}

} // namespace torvanu
