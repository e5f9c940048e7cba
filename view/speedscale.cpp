#include "view/speedscale.h"

#include <algorithm>
#include <cmath>
#include <vector>

SpeedScale SpeedScale::compute(const QVector<Vec3>& points)
{
    SpeedScale scale;
    std::vector<quint32> speeds;
    speeds.reserve(size_t(points.size()));
    for (const Vec3& p : points) {
        if (std::isfinite(p.lat) && std::isfinite(p.lon))
            speeds.push_back(quint32(p.speed));
    }
    if (speeds.empty())
        return scale;

    std::vector<quint32> order(speeds);
    const auto top = order.begin() + std::ptrdiff_t(order.size() - 1 - order.size() / 100);
    std::nth_element(order.begin(), top, order.end());
    scale.fastest = *top;
    scale.slowest = *std::min_element(order.begin(), top + 1);

    const double span = double(scale.fastest) - double(scale.slowest);
    scale.levels.resize(int(speeds.size()));
    QChar* out = scale.levels.data();
    for (size_t i = 0; i < speeds.size(); ++i) {
        long step = 0;
        if (span > 0)
            step = std::lround((double(speeds[i]) - scale.slowest) / span * (Steps - 1));
        out[i] = QChar(ushort('0' + std::min<long>(std::max<long>(step, 0), Steps - 1)));
    }
    return scale;
}
