// SPDX-FileCopyrightText: 2026 The Sosudnik developers
// SPDX-License-Identifier: MIT
#include "pour_map.h"

#include "move_log.h"
#include "parse.h"
#include "rules.h"
#include "wording.h"

#include <algorithm>
#include <cmath>

namespace {

// Twice the signed area of o, a, b in the (V1, V2) plane: positive when they
// turn counter-clockwise. The embedding keeps the sense of every turn.
long long Turn(const MapLevels &o, const MapLevels &a, const MapLevels &b)
{
    return static_cast<long long>(a[0] - o[0]) * (b[1] - o[1]) - static_cast<long long>(a[1] - o[1]) * (b[0] - o[0]);
}

// The convex hull, counter-clockwise, without points in the middle of an
// edge (Andrew's monotone chain): one point, two ends of a segment, or the
// corners of a polygon.
std::vector<MapLevels> Hull(std::vector<MapLevels> points)
{
    const auto less = [](const MapLevels &a, const MapLevels &b) { return a[0] != b[0] ? a[0] < b[0] : a[1] < b[1]; };
    std::sort(points.begin(), points.end(), less);
    points.erase(std::unique(points.begin(), points.end()), points.end());
    if (points.size() < 3)
        return points;
    std::vector<MapLevels> hull(2 * points.size());
    std::size_t k = 0;
    for (const MapLevels &p : points) {
        while (k >= 2 && Turn(hull[k - 2], hull[k - 1], p) <= 0)
            --k;
        hull[k++] = p;
    }
    for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
        while (k >= lower && Turn(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1); // the last is the first again
    return hull;
}

} // namespace

PourMap::PourMap(const TaskPreset &task)
    : m_task(task)
    , m_total(task.Level[0] + task.Level[1] + task.Level[2])
    , m_reachable(::Reachable(task)) // checks the values first
    , m_shortest(Solve(task))
{
    const int c1 = task.Capacity[0];
    const int c2 = task.Capacity[1];
    const int c3 = task.Capacity[2];
    // Each corner is where two of the six edges' lines meet: V1 = 0 or C1,
    // V2 = 0 or C2, V1 + V2 = S - C3 or S (V3 = C3 or 0).
    std::vector<MapLevels> candidates;
    for (const int v1 : {0, c1}) {
        for (const int v2 : {0, c2})
            candidates.push_back({v1, v2, m_total - v1 - v2});
    }
    for (const int sum : {m_total - c3, m_total}) {
        for (const int v1 : {0, c1})
            candidates.push_back({v1, sum - v1, m_total - sum});
        for (const int v2 : {0, c2})
            candidates.push_back({sum - v2, v2, m_total - sum});
    }
    std::erase_if(candidates, [this](const MapLevels &p) { return !OnPolygon(p); });
    m_corners = Hull(std::move(candidates));
    // From the lowest corner, the leftmost of the lowest.
    const auto first = std::min_element(m_corners.begin(), m_corners.end(), [](const MapLevels &a, const MapLevels &b) {
        return a[1] != b[1] ? a[1] < b[1] : a[0] < b[0];
    });
    std::rotate(m_corners.begin(), first, m_corners.end());

    m_low = m_high = Embed(m_corners.front());
    for (const MapLevels &corner : m_corners) {
        const MapPoint p = Embed(corner);
        m_low = {std::min(m_low.X, p.X), std::min(m_low.Y, p.Y)};
        m_high = {std::max(m_high.X, p.X), std::max(m_high.Y, p.Y)};
    }
}

bool PourMap::OnPolygon(const MapLevels &levels) const
{
    for (std::size_t n = 0; n < 3; ++n) {
        if (levels[n] < 0 || !LevelFits(levels[n], m_task.Capacity[n]))
            return false;
    }
    return levels[0] + levels[1] + levels[2] == m_total;
}

std::optional<MapSegment> PourMap::LineOfEqual(int n, int value) const
{
    const auto capacity = [this](int vessel) { return m_task.Capacity[static_cast<std::size_t>(vessel - 1)]; };
    if (n < 1 || n > 3 || value < 0 || value > capacity(n))
        return std::nullopt;
    // Along the line one of the other two levels runs from lo to hi, the
    // third holding the rest.
    if (n == 3) {
        const int sum = m_total - value; // V1 + V2
        const int lo = std::max(0, sum - capacity(2));
        const int hi = std::min(capacity(1), sum);
        if (lo > hi)
            return std::nullopt;
        return MapSegment{{lo, sum - lo, value}, {hi, sum - hi, value}};
    }
    const int other = n == 1 ? 2 : 1; // the level that runs
    const int lo = std::max(0, m_total - capacity(3) - value);
    const int hi = std::min(capacity(other), m_total - value);
    if (lo > hi)
        return std::nullopt;
    const auto at = [&](int running) {
        MapLevels levels{};
        levels[static_cast<std::size_t>(n - 1)] = value;
        levels[static_cast<std::size_t>(other - 1)] = running;
        levels[2] = m_total - value - running;
        return levels;
    };
    return MapSegment{at(lo), at(hi)};
}

const ReachedPosition *PourMap::Find(const MapLevels &levels) const
{
    const auto it = std::find_if(m_reachable.begin(), m_reachable.end(),
                                 [&](const ReachedPosition &p) { return p.Levels == levels; });
    return it == m_reachable.end() ? nullptr : &*it;
}

std::vector<MapLevels> PourMap::ShortestPath() const
{
    std::vector<MapLevels> path;
    if (!m_shortest.Solved())
        return path;
    path.push_back(Start());
    for (const SolverStep &step : m_shortest.Steps)
        path.push_back(step.Levels);
    return path;
}

std::vector<PathRun> MapPath(const PourMap &map, const std::vector<std::optional<MapLevels>> &rows)
{
    std::vector<PathRun> runs;
    bool broken = true;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (!rows[row] || !map.OnPolygon(*rows[row])) {
            broken = true;
            continue;
        }
        if (broken)
            runs.emplace_back();
        broken = false;
        runs.back().push_back({static_cast<int>(row), *rows[row]});
    }
    return runs;
}

std::optional<MapLevels> LoggedLevels(const MoveLog &log, int row)
{
    try {
        const auto &cells = log.Row(row).SubItems;
        return MapLevels{ParseFieldValue(cells[0]), ParseFieldValue(cells[1]), ParseFieldValue(cells[2])};
    } catch (const ERangeError &) {
        return std::nullopt;
    }
}

std::vector<std::optional<MapLevels>> LoggedLevels(const MoveLog &log)
{
    std::vector<std::optional<MapLevels>> rows;
    rows.reserve(static_cast<std::size_t>(log.RowCount()));
    for (int row = 0; row < log.RowCount(); ++row)
        rows.push_back(LoggedLevels(log, row));
    return rows;
}

namespace {

std::string Where(const MapLevels &levels)
{
    return "V1 = " + std::to_string(levels[0]) + ", V2 = " + std::to_string(levels[1]) + ", V3 = "
        + std::to_string(levels[2]);
}

} // namespace

std::string MapDescription(const PourMap &map, const std::vector<std::optional<MapLevels>> &rows, bool lesson,
                           bool shortest)
{
    std::string text = "Начало: " + Where(map.Start()) + ".";
    if (rows.size() <= 1) {
        text += " Переливаний еще не было.";
    } else {
        const int pours = static_cast<int>(rows.size()) - 1;
        text += " Путь: " + PourCount(pours) + ", сейчас ";
        text += rows.back() ? Where(*rows.back()) : std::string("строка без уровней");
        text += ".";
    }
    const auto off = std::count_if(rows.begin(), rows.end(), [&](const auto &row) { return !row || !map.OnPolygon(*row); });
    if (off > 0) {
        const int n = static_cast<int>(off);
        text += " Не на карте " + std::to_string(n) + " " + std::string(RussianPlural(n, "строка", "строки", "строк"))
            + ": путь там прерывается.";
    }
    if (!lesson) {
        const auto winning = std::count_if(map.Reachable().begin(), map.Reachable().end(),
                                           [](const ReachedPosition &p) { return p.Winning; });
        text += " Достижимых положений: " + std::to_string(map.Reachable().size()) + ", победных: "
            + std::to_string(winning) + ".";
        if (shortest)
            text += map.Shortest().Solved() ? " Кратчайшее решение: " + PourCount(map.Shortest().Pours()) + "."
                                            : std::string(" Решения нет.");
    }
    return text;
}

MapFit MapFit::Into(const PourMap &map, double left, double top, double width, double height, double marginX,
                    double marginY)
{
    const double across = std::max(0.0, width - 2 * marginX);
    const double down = std::max(0.0, height - 2 * marginY);
    const double spanX = map.High().X - map.Low().X;
    const double spanY = map.High().Y - map.Low().Y;
    // A segment has no height, or no width; a point neither: only a span
    // there is limits the scale.
    MapFit fit;
    if (spanX > 0 && spanY > 0)
        fit.Scale = std::min(across / spanX, down / spanY);
    else if (spanX > 0)
        fit.Scale = across / spanX;
    else if (spanY > 0)
        fit.Scale = down / spanY;
    fit.Left = left + width / 2 - (map.Low().X + map.High().X) / 2 * fit.Scale;
    fit.Top = top + height / 2 + (map.Low().Y + map.High().Y) / 2 * fit.Scale;
    return fit;
}

int LatticeStep(double scale, double gap)
{
    // With no room at all, no line between the edges.
    constexpr int kNone = kMaxValue + 1;
    if (!(scale > 0))
        return kNone;
    const double step = std::ceil(gap / (scale * kRowHeight) - 1e-9);
    return step < 1 ? 1 : step > kNone ? kNone : static_cast<int>(step);
}
